#include "dsp/SpaceStage.h"

#include "dsp/NoteValues.h"

namespace
{
// Longer than the reverb's longest comb and all-pass loops together (about 50 ms) at any rate:
// a reverb fed silence whose output stays quiet this long holds nothing louder.
constexpr double reverbMemorySeconds = 0.1;

using Room = RoomGlide::Room;

// JUCE's reverb glides its room over 10 ms, in whole samples rounded down.
int reverbGlideSteps (double sampleRate) noexcept
{
    return static_cast<int> (std::floor (0.01 * sampleRate));
}

juce::dsp::Reverb::Parameters reverbParameters (Room room, float mix) noexcept
{
    return { room.size, room.damping, mix * 0.85f, 0.0f, 1.0f, 0.0f };
}

Room roomFor (SpaceKind kind, int typeIndex) noexcept
{
    if (kind == SpaceKind::a)
    {
        switch (typeIndex)
        {
            case 0: return { 0.3f, 0.5f }; // "Room"
            case 1: return { 0.6f, 0.4f }; // "Hall"
            default: return { 0.9f, 0.2f }; // "Cathedral"
        }
    }

    switch (typeIndex)
    {
        case 0: return { 0.2f, 0.6f }; // "Close"
        case 1: return { 0.5f, 0.4f }; // "Wide"
        default: return { 0.95f, 0.1f }; // "Vast"
    }
}
} // namespace

juce::dsp::Reverb::Parameters spaceSettings (SpaceKind kind, int typeIndex, float mix) noexcept
{
    return reverbParameters (roomFor (kind, typeIndex), mix);
}

void SpaceStage::prepare (const juce::dsp::ProcessSpec& spec, int typeIndex)
{
    // Preparing sets the reverb's gains to these targets at once: dry 0 and wet 0.
    reverb.setParameters (spaceSettings (kind, typeIndex, 0.0f));
    roomHanded = false; // handed with no wet level: the first block hands the room again at full
    reverb.prepare (spec);
    reverb.reset();
    floorZeros.cancel();
    room.prepare (spec.sampleRate, reverbGlideSteps (spec.sampleRate), roomFor (kind, typeIndex));

    preDelay.prepare (spec);
    tail.prepare (juce::roundToInt (reverbMemorySeconds * spec.sampleRate));
    floor.prepare (spec.sampleRate);
    prepareGlide (level, spec.sampleRate, level.getTargetValue());
    prepareGlide (feed, spec.sampleRate, feed.getTargetValue());
}

void SpaceStage::setTargets (const SpaceSettings& settings, bool jump) noexcept
{
    // While the space waits, nothing of it is heard: a new pre-delay has nothing to cross over from.
    const auto waiting = jump || restsAtZero (level);
    const auto runs = settings.enabled && settings.mix > minimumRunningMix;
    glideTo (level, runs ? settings.mix : 0.0f, jump);
    glideTo (feed, runs ? 1.0f : 0.0f, jump);
    room.setTarget (roomFor (kind, settings.type), waiting);
    setPreDelay (settings, waiting);
}

// With sync on, the setting selects a note value, its length taken at the tempo in force.
void SpaceStage::setPreDelay (const SpaceSettings& settings, bool jump) noexcept
{
    if (settings.preDelaySync)
        preDelay.setTargetSeconds (noteValueMs (noteValueIndexFor (settings.preDelayMs), settings.bpm) / 1000.0, jump);
    else
        preDelay.setTarget (settings.preDelayMs, jump);
}

void SpaceStage::process (ReturnBuses& buses) noexcept
{
    if (restsAtZero (level))
        return;

    feedFromSend (buses);
    preDelay.noteFeed (buses.sendPeak, buses.numSamples);
    preDelay.process (buses.wet, buses.numChannels, buses.numSamples);

    if (! restsWhileFloorClears (buses))
        reverberate ({ buses.wet.getArrayOfWritePointers(), static_cast<size_t> (buses.numChannels),
                       static_cast<size_t> (buses.numSamples) });
    noteTail (buses);
    addReturn (buses);
}

bool SpaceStage::fedQuiet (const ReturnBuses& buses) const noexcept
{
    return ! louderThanQuiet (buses.sendPeak) && preDelay.isQuiet();
}

// The reverb is measured only once what feeds it is quiet: before that its memory cannot be. A
// tail sitting on its floor is not cleared at once (its lines are several blocks' worth of work):
// the lines are handed over to be zeroed while the reverb rests.
void SpaceStage::noteTail (const ReturnBuses& buses) noexcept
{
    if (! fedQuiet (buses))
    {
        tail.note (true, buses.numSamples);
        floor.restart();
        return;
    }

    const auto peak = peakMagnitude (buses.wet, buses.numChannels, buses.numSamples);
    tail.note (louderThanQuiet (peak), buses.numSamples);

    if (floor.reachedFloor (peak, buses.numSamples) && ! floorZeros.isPending())
        reverb.reset (floorZeros);
}

// Fed silence, a cleared reverb gives silence: while its lines are zeroed it need not run, and its
// return is silence, a slice of the lines zeroed each block (as many per sample as on the way into
// idle). Fed anything, or given a new room, it runs at once and the rest of the zeros are dropped:
// what is left is the floor it was circling, 95 dB or more below full scale, as it would have kept.
bool SpaceStage::restsWhileFloorClears (ReturnBuses& buses) noexcept
{
    if (! floorZeros.isPending())
        return false;

    if (! fedQuiet (buses) || room.isMoving())
    {
        floorZeros.cancel();
        return false;
    }

    floorZeros.clearSomeFor (buses.numChannels, buses.numSamples);
    for (int channel = 0; channel < buses.numChannels; ++channel)
        buses.wet.clear (channel, 0, buses.numSamples);
    return true;
}

bool SpaceStage::holdsSound() const noexcept
{
    return ! restsAtZero (level) && ! (tail.isQuiet() && preDelay.isQuiet());
}

void SpaceStage::clear() noexcept
{
    SpreadClear now;
    clear (now);
    now.finish();
}

// The zeros left to `later` to write over the blocks that follow (while nothing runs).
void SpaceStage::clear (SpreadClear& later) noexcept
{
    if (tail.isQuiet())
    {
        floorZeros.cancel(); // all of it is handed over below
        reverb.reset (later);
    }

    preDelay.clear (later);
}

void SpaceStage::reverberate (juce::dsp::AudioBlock<float> block) noexcept
{
    if (room.isMoving())
    {
        reverberateWhileRoomMoves (block);
        return;
    }

    // Handing the reverb the room it has already changes nothing.
    setRoom (room.target());
    reverb.process (ReplacingContext (block));
}

// A new room every sample until it arrives, then the rest of the block at once. In stereo the
// reverb takes a run of such samples at once (the same arithmetic as one at a time).
void SpaceStage::reverberateWhileRoomMoves (juce::dsp::AudioBlock<float> block) noexcept
{
    if (block.getNumChannels() == 2)
    {
        reverberateStereoWhileRoomMoves (block);
        return;
    }

    for (size_t i = 0; i < block.getNumSamples(); ++i)
    {
        if (! room.isMoving())
        {
            reverberate (block.getSubBlock (i));
            return;
        }

        setRoom (room.nextSteering());
        auto sample = block.getSubBlock (i, 1);
        reverb.process (ReplacingContext (sample));
    }
}

void SpaceStage::reverberateStereoWhileRoomMoves (juce::dsp::AudioBlock<float> block) noexcept
{
    const auto numSamples = static_cast<int> (block.getNumSamples());

    for (int start = 0; start < numSamples;)
    {
        if (! room.isMoving())
        {
            reverberate (block.getSubBlock (static_cast<size_t> (start)));
            return;
        }

        const auto longest = juce::jmin (numSamples - start, reverb.longestRunLength());
        int steps = 0;
        for (; steps < longest && room.isMoving(); ++steps)
        {
            setRoom (room.nextSteering());
            reverb.takeGlideStep (steps);
        }

        reverb.processStereoStepped (block.getChannelPointer (0) + start, block.getChannelPointer (1) + start, steps);
        start += steps;
    }
}

// The reverb runs at the full wet level; the space's own level scales its return. The room it
// already has is not handed again.
void SpaceStage::setRoom (RoomGlide::Room newRoom) noexcept
{
    if (roomHanded && newRoom.size == handedRoom.size && newRoom.damping == handedRoom.damping)
        return;

    reverb.setParameters (reverbParameters (newRoom, 1.0f));
    handedRoom = newRoom;
    roomHanded = true;
}

// Each space starts again from the send copy, so neither hears the other.
void SpaceStage::feedFromSend (ReturnBuses& buses) noexcept
{
    for (int channel = 0; channel < buses.numChannels; ++channel)
        buses.wet.copyFrom (channel, 0, buses.send, channel, 0, buses.numSamples);

    if (! feed.isSmoothing())
        return;

    const auto start = feed;

    for (int channel = 0; channel < buses.numChannels; ++channel)
    {
        feed = start;
        auto* wet = buses.wet.getWritePointer (channel);

        for (int i = 0; i < buses.numSamples; ++i)
            wet[i] *= feed.getNextValue();
    }
}

void SpaceStage::addReturn (ReturnBuses& buses) noexcept
{
    if (! level.isSmoothing())
    {
        for (int channel = 0; channel < buses.numChannels; ++channel)
            buses.main.addFrom (channel, 0, buses.wet, channel, 0, buses.numSamples, level.getTargetValue());
        return;
    }

    const auto start = level;

    for (int channel = 0; channel < buses.numChannels; ++channel)
    {
        level = start;
        const auto* wet = buses.wet.getReadPointer (channel);
        auto* out = buses.main.getWritePointer (channel);

        for (int i = 0; i < buses.numSamples; ++i)
            out[i] += level.getNextValue() * wet[i];
    }
}
