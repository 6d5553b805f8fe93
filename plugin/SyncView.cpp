#include "plugin/SyncView.h"

void SyncView::attach (const std::atomic<float>& syncA, const std::atomic<float>& syncB,
                       const std::atomic<float>& manualBpm, const std::atomic<bool>& hostSync) noexcept
{
    syncs[0].store (&syncA);
    syncs[1].store (&syncB);
    manual.store (&manualBpm);
    sync.store (&hostSync);
}

void SyncView::detach() noexcept
{
    syncs[0].store (nullptr);
    syncs[1].store (nullptr);
    manual.store (nullptr);
    sync.store (nullptr);
}

bool SyncView::isSynced (int space) const noexcept
{
    if (space != 0 && space != 1)
        return false;

    const auto* raw = syncs[space].load();
    return raw != nullptr && raw->load (std::memory_order_relaxed) > 0.5f;
}

double SyncView::tempo() const noexcept
{
    const auto* hostSync = sync.load();
    const auto host = hostBpm.load (std::memory_order_relaxed);

    if (hostSync != nullptr && hostSync->load (std::memory_order_relaxed) && host > 1.0)
        return host;

    const auto* manualBpm = manual.load();
    return manualBpm != nullptr ? static_cast<double> (manualBpm->load (std::memory_order_relaxed)) : 120.0;
}
