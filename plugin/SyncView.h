#pragma once

#include <atomic>

// What a pre-delay's text depends on besides its own value: its space's sync switch and the tempo
// in force. The parameters' text functions share it, so it exists before them; the processor fills
// it in once it is complete and empties it as it goes. Until then the pre-delays read in
// milliseconds. Every member is atomic: any thread may ask at any time.
class SyncView
{
public:
    void attach (const std::atomic<float>& syncA, const std::atomic<float>& syncB,
                 const std::atomic<float>& manualBpm, const std::atomic<bool>& hostSync) noexcept;
    void detach() noexcept;

    // From processing: the tempo the host reported in the last block, 0 when it reported none.
    void noteHostBpm (double bpm) noexcept { hostBpm.store (bpm, std::memory_order_relaxed); }

    // Whether space 0 (A) or 1 (B) has its pre-delay synced.
    bool isSynced (int space) const noexcept;

    // The tempo in force without asking the host (which only processing may): the host's last
    // reported tempo with SYNC on, otherwise the manual tempo; 120 BPM before anything is filled in.
    double tempo() const noexcept;

private:
    std::atomic<const std::atomic<float>*> syncs[2] { nullptr, nullptr };
    std::atomic<const std::atomic<float>*> manual { nullptr };
    std::atomic<const std::atomic<bool>*> sync { nullptr };
    std::atomic<double> hostBpm { 0.0 };
};
