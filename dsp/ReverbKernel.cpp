#include "dsp/ReverbKernel.h"

#include "dsp/SampleCopy.h"

#include <algorithm>
#include <emmintrin.h>

namespace
{
constexpr short combTunings[] = { 1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617 }; // at 44.1 kHz
constexpr short allPassTunings[] = { 556, 441, 341, 225 };
constexpr int stereoSpread = 23;
constexpr double glideSeconds = 0.01;

// The same rounding as JUCE's denormal guard: adding and taking away 0.1 flushes tiny values.
inline float undenormalised (float x) noexcept
{
    x += 0.1f;
    x -= 0.1f;
    return x;
}

inline __m128 undenormalised (__m128 x) noexcept
{
    const auto tenth = _mm_set1_ps (0.1f);
    return _mm_sub_ps (_mm_add_ps (x, tenth), tenth);
}

template <typename Glide>
void fill (Glide& glide, float* values, int numSamples) noexcept
{
    if (! glide.isSmoothing())
    {
        std::fill (values, values + numSamples, glide.getTargetValue());
        return;
    }

    for (int i = 0; i < numSamples; ++i)
        values[i] = glide.getNextValue();
}

bool sameParameters (const juce::Reverb::Parameters& a, const juce::Reverb::Parameters& b) noexcept
{
    return a.roomSize == b.roomSize && a.damping == b.damping && a.wetLevel == b.wetLevel && a.dryLevel == b.dryLevel
           && a.width == b.width && a.freezeMode == b.freezeMode;
}
} // namespace

// All the lines in one stretch of memory, each starting on its own cache line: a strip's lines
// then lie on a few pages, not one or two each. Lines of the same lengths as before keep their
// memory and places.
void ReverbKernel::sizeLines (double sampleRate)
{
    const auto rate = static_cast<int> (sampleRate);
    std::array<int, 2 * (numCombs + numAllPasses)> sizes {};
    std::array<Line*, 2 * (numCombs + numAllPasses)> lines {};
    size_t n = 0;

    for (int channel = 0; channel < 2; ++channel)
    {
        const auto spread = channel == 0 ? 0 : stereoSpread;

        for (int i = 0; i < numCombs; ++i, ++n)
        {
            sizes[n] = (rate * (combTunings[i] + spread)) / 44100;
            lines[n] = &combs[static_cast<size_t> (channel)][static_cast<size_t> (i)];
        }

        for (int i = 0; i < numAllPasses; ++i, ++n)
        {
            sizes[n] = (rate * (allPassTunings[i] + spread)) / 44100;
            lines[n] = &allPasses[static_cast<size_t> (channel)][static_cast<size_t> (i)];
        }
    }

    auto same = lineMemory.data() != nullptr;
    size_t total = 0;
    std::array<size_t, sizes.size()> offsets {};

    for (size_t k = 0; k < sizes.size(); ++k)
    {
        sizes[k] = juce::jmax (1, sizes[k]);
        same = same && sizes[k] == lines[k]->size;
        offsets[k] = total;
        total += static_cast<size_t> (sizes[k] + padding + 15) / 16 * 16;
    }

    if (same)
        return;

    lineMemory.allocate (total);

    for (size_t k = 0; k < sizes.size(); ++k)
        *lines[k] = { lineMemory.data() + offsets[k], sizes[k], 0 };
}

void ReverbKernel::Line::copyWrapped (const float* first, float* firstTo, const float* rest, float* restTo,
                                      int numSamples) const noexcept
{
    const auto toEnd = size - index;
    copySamples (first, firstTo, toEnd);
    copySamples (rest, restTo, numSamples - toEnd);
}

ReverbKernel::ReverbKernel()
{
    setParameters (Parameters());
    prepare ({ 44100.0, 512, 2 });
}

// The same parameters again change nothing, as they would not change the sample-by-sample reverb.
void ReverbKernel::setParameters (const Parameters& newParameters) noexcept
{
    if (parametersTaken && sameParameters (newParameters, parameters))
        return;

    parametersTaken = true;
    glideRowsAtTargets = false;
    const auto wet = newParameters.wetLevel * 3.0f;
    glides.dry.setTargetValue (newParameters.dryLevel * 2.0f);
    glides.wet1.setTargetValue (0.5f * wet * (1.0f + newParameters.width));
    glides.wet2.setTargetValue (0.5f * wet * (1.0f - newParameters.width));

    const auto frozen = newParameters.freezeMode >= 0.5f;
    gain = frozen ? 0.0f : 0.015f;
    parameters = newParameters;
    glides.damping.setTargetValue (frozen ? 0.0f : parameters.damping * 0.4f);
    glides.feedback.setTargetValue (frozen ? 1.0f : parameters.roomSize * 0.28f + 0.7f);
}

void ReverbKernel::prepare (const juce::dsp::ProcessSpec& spec)
{
    sizeLines (spec.sampleRate);

    for (auto* glide : { &glides.damping, &glides.feedback, &glides.dry, &glides.wet1, &glides.wet2 })
        glide->reset (spec.sampleRate, glideSeconds);

    glideRowsAtTargets = false;
    longestRun = maximumRun;

    for (const auto& lines : combs)
        for (const auto& comb : lines)
            longestRun = juce::jmin (longestRun, comb.size);

    for (const auto& lines : allPasses)
        for (const auto& allPass : lines)
            longestRun = juce::jmin (longestRun, allPass.size);

    reset();
}

void ReverbKernel::reset() noexcept
{
    SpreadClear now;
    reset (now);
    now.finish();
}

void ReverbKernel::reset (SpreadClear& later) noexcept
{
    for (int channel = 0; channel < 2; ++channel)
    {
        for (auto& comb : combs[static_cast<size_t> (channel)])
            later.add (comb.data, static_cast<size_t> (comb.size + padding));

        for (auto& allPass : allPasses[static_cast<size_t> (channel)])
            later.add (allPass.data, static_cast<size_t> (allPass.size + padding));
    }

    std::fill (std::begin (lastOfComb), std::end (lastOfComb), 0.0f);
}

void ReverbKernel::process (const ReplacingContext& context) noexcept
{
    auto& block = context.getOutputBlock();
    const auto numSamples = static_cast<int> (block.getNumSamples());

    if (context.isBypassed)
        return;

    if (block.getNumChannels() == 1)
        processMono (block.getChannelPointer (0), numSamples);
    else if (block.getNumChannels() == 2)
        processStereo (block.getChannelPointer (0), block.getChannelPointer (1), numSamples);
}

void ReverbKernel::processStereo (float* left, float* right, int numSamples) noexcept
{
    for (int start = 0; start < numSamples;)
    {
        const auto n = runLength (numSamples - start);
        auto* l = left + start;
        auto* r = right + start;

        takeInput (l, r, n);
        fillGlides (n, true);
        runCombs (2, n);
        runAllPasses (0, wetL, n);
        runAllPasses (1, wetR, n);
        mixStereo (l, r, n);
        start += n;
    }
}

void ReverbKernel::takeGlideStep (int i) noexcept
{
    glideRowsAtTargets = false;
    damping[i] = glides.damping.getNextValue();
    feedback[i] = glides.feedback.getNextValue();
    dry[i] = glides.dry.getNextValue();
    wet1[i] = glides.wet1.getNextValue();
    wet2[i] = glides.wet2.getNextValue();
}

void ReverbKernel::processStereoStepped (float* left, float* right, int numSamples) noexcept
{
    takeInput (left, right, numSamples);
    runCombs (2, numSamples);
    runAllPasses (0, wetL, numSamples);
    runAllPasses (1, wetR, numSamples);
    mixStereo (left, right, numSamples);
}

// input[i] = (l[i] + r[i]) x gain
void ReverbKernel::takeInput (const float* l, const float* r, int numSamples) noexcept
{
    const auto g = _mm_set1_ps (gain);
    int i = 0;

    for (; i + 4 <= numSamples; i += 4)
        _mm_store_ps (input + i, _mm_mul_ps (_mm_add_ps (_mm_loadu_ps (l + i), _mm_loadu_ps (r + i)), g));

    for (; i < numSamples; ++i)
        input[i] = (l[i] + r[i]) * gain;
}

// Each side: its own wet x wet1, plus the other side's x wet2, plus its dry signal x dry.
void ReverbKernel::mixStereo (float* l, float* r, int numSamples) const noexcept
{
    int i = 0;

    for (; i + 4 <= numSamples; i += 4)
    {
        const auto outL = _mm_load_ps (wetL + i), outR = _mm_load_ps (wetR + i);
        const auto w1 = _mm_load_ps (wet1 + i), w2 = _mm_load_ps (wet2 + i), d = _mm_load_ps (dry + i);
        const auto mixedL = _mm_add_ps (_mm_add_ps (_mm_mul_ps (outL, w1), _mm_mul_ps (outR, w2)), _mm_mul_ps (_mm_loadu_ps (l + i), d));
        const auto mixedR = _mm_add_ps (_mm_add_ps (_mm_mul_ps (outR, w1), _mm_mul_ps (outL, w2)), _mm_mul_ps (_mm_loadu_ps (r + i), d));
        _mm_storeu_ps (l + i, mixedL);
        _mm_storeu_ps (r + i, mixedR);
    }

    for (; i < numSamples; ++i)
    {
        const auto outL = wetL[i], outR = wetR[i];
        l[i] = outL * wet1[i] + outR * wet2[i] + l[i] * dry[i];
        r[i] = outR * wet1[i] + outL * wet2[i] + r[i] * dry[i];
    }
}

void ReverbKernel::processMono (float* samples, int numSamples) noexcept
{
    for (int start = 0; start < numSamples;)
    {
        const auto n = runLength (numSamples - start);
        auto* s = samples + start;

        for (int i = 0; i < n; ++i)
            input[i] = s[i] * gain;

        fillGlides (n, false);
        runCombs (1, n);
        runAllPasses (0, wetL, n);

        for (int i = 0; i < n; ++i)
            s[i] = wetL[i] * wet1[i] + s[i] * dry[i];

        start += n;
    }
}

// The glides' values for the run, one per sample, as the sample-by-sample reverb reads them
// (mono reads no second wet gain). Once every glide has arrived, the rows hold the targets for a
// whole run and are left as they are until a glide moves again.
void ReverbKernel::fillGlides (int numSamples, bool stereo) noexcept
{
    const auto moving = glides.damping.isSmoothing() || glides.feedback.isSmoothing() || glides.dry.isSmoothing()
                        || glides.wet1.isSmoothing() || glides.wet2.isSmoothing();

    if (! moving)
    {
        if (glideRowsAtTargets)
            return;

        numSamples = maximumRun;
        stereo = true;
        glideRowsAtTargets = true;
    }

    fill (glides.damping, damping, numSamples);
    fill (glides.feedback, feedback, numSamples);
    fill (glides.dry, dry, numSamples);
    fill (glides.wet1, wet1, numSamples);

    if (stereo)
        fill (glides.wet2, wet2, numSamples);
}

// The combs' outputs are what they wrote a full comb length ago; each channel's sum is taken in
// the combs' order, then each comb writes its damped feedback in their place.
void ReverbKernel::runCombs (int numChannels, int numSamples) noexcept
{
    for (int channel = 0; channel < numChannels; ++channel)
    {
        auto* rows = combRows + channel * numCombs;

        for (int k = 0; k < numCombs; ++k)
            rows[k] = combs[static_cast<size_t> (channel)][static_cast<size_t> (k)].borrow (combRun[channel * numCombs + k],
                                                                                           numSamples);

        sumCombs (rows, channel == 0 ? wetL : wetR, numSamples);
    }

    if (numChannels == 2)
        dampCombs<4> (numSamples);
    else
        dampCombs<2> (numSamples);

    for (int channel = 0; channel < numChannels; ++channel)
        for (int k = 0; k < numCombs; ++k)
            combs[static_cast<size_t> (channel)][static_cast<size_t> (k)].giveBack (combRows[channel * numCombs + k],
                                                                                   numSamples);
}

// sum[i] = 0 + c0[i] + c1[i] + ... + c7[i], added in that order.
void ReverbKernel::sumCombs (float* const* outputs, float* sum, int numSamples) noexcept
{
    // Lines and copies are padded to whole registers, so the last register may read past the run.
    for (int i = 0; i < numSamples; i += 4)
    {
        auto total = _mm_setzero_ps();

        for (int k = 0; k < numCombs; ++k)
            total = _mm_add_ps (total, _mm_loadu_ps (outputs[k] + i));

        _mm_store_ps (sum + i, total);
    }
}

// The damping filters, four combs to a register: four samples of four combs are loaded and
// transposed, so each step of the filter is one register holding the same sample of four combs,
// and the registers of all the combs take each step in turn, so their filters overlap instead of
// waiting on one another.
template <int numGroups>
void ReverbKernel::dampCombs (int numSamples) noexcept
{
    const auto one = _mm_set1_ps (1.0f);
    __m128 last[numGroups];

    for (int g = 0; g < numGroups; ++g)
        last[g] = _mm_load_ps (lastOfComb + 4 * g);

    auto step = [&] (__m128 output, __m128& state, int i)
    {
        const auto damp = _mm_set1_ps (damping[i]);
        state = undenormalised (_mm_add_ps (_mm_mul_ps (output, _mm_sub_ps (one, damp)), _mm_mul_ps (state, damp)));
        return undenormalised (_mm_add_ps (_mm_set1_ps (input[i]), _mm_mul_ps (state, _mm_set1_ps (feedback[i]))));
    };

    int i = 0;

    for (; i + 4 <= numSamples; i += 4)
    {
        __m128 v[numGroups][4];

        for (int g = 0; g < numGroups; ++g)
        {
            for (int k = 0; k < 4; ++k)
                v[g][k] = _mm_loadu_ps (combRows[4 * g + k] + i);

            _MM_TRANSPOSE4_PS (v[g][0], v[g][1], v[g][2], v[g][3]);
        }

        for (int t = 0; t < 4; ++t)
            for (int g = 0; g < numGroups; ++g)
                v[g][t] = step (v[g][t], last[g], i + t);

        for (int g = 0; g < numGroups; ++g)
        {
            _MM_TRANSPOSE4_PS (v[g][0], v[g][1], v[g][2], v[g][3]);

            for (int k = 0; k < 4; ++k)
                _mm_storeu_ps (combRows[4 * g + k] + i, v[g][k]);
        }
    }

    for (; i < numSamples; ++i)
    {
        for (int g = 0; g < numGroups; ++g)
        {
            float* const* rows = combRows + 4 * g;
            alignas (16) float lanes[4];
            _mm_store_ps (lanes, step (_mm_set_ps (rows[3][i], rows[2][i], rows[1][i], rows[0][i]), last[g], i));

            for (int k = 0; k < 4; ++k)
                rows[k][i] = lanes[k];
        }
    }

    for (int g = 0; g < numGroups; ++g)
        _mm_store_ps (lastOfComb + 4 * g, last[g]);
}

// In a run no longer than the allpass, every value it reads is already written: each allpass
// takes the whole run at once, one after the other.
void ReverbKernel::runAllPasses (int channel, float* signal, int numSamples) noexcept
{
    const auto half = _mm_set1_ps (0.5f);

    for (auto& allPass : allPasses[static_cast<size_t> (channel)])
    {
        auto* line = allPass.borrow (lineRun, numSamples);
        int i = 0;

        for (; i + 4 <= numSamples; i += 4)
        {
            const auto buffered = _mm_loadu_ps (line + i);
            const auto in = _mm_load_ps (signal + i);
            _mm_storeu_ps (line + i, undenormalised (_mm_add_ps (in, _mm_mul_ps (buffered, half))));
            _mm_store_ps (signal + i, _mm_sub_ps (buffered, in));
        }

        for (; i < numSamples; ++i)
        {
            const auto buffered = line[i];
            const auto in = signal[i];
            line[i] = undenormalised (in + buffered * 0.5f);
            signal[i] = buffered - in;
        }

        allPass.giveBack (line, numSamples);
    }
}
