// What a host hears when the user edits through the window: every change arrives inside a
// begin/end gesture, which hosts need to record it in their automation and undo history.

#include "plugin/ParamIDs.h"
#include "tests/support/EditorProbe.h"
#include "tests/support/GestureRecorder.h"

#include <gtest/gtest.h>

namespace
{
const std::pair<const char*, const juce::String&> selectors[] = {
    { "lowModeSelector", ParamIDs::lowMode },         { "highModeSelector", ParamIDs::highMode },
    { "dynamicsModeSelector", ParamIDs::compMode },   { "spaceATypeSelector", ParamIDs::spaceAType },
    { "spaceBTypeSelector", ParamIDs::spaceBType },   { "echoDivisionSelector", ParamIDs::echoDivision },
};
} // namespace

TEST (HostGestures, ASelectorClickReachesTheHostAsBeginPerformEnd)
{
    editorprobe::OpenEditor open;

    for (const auto& [control, parameterId] : selectors)
    {
        SCOPED_TRACE (control);
        GestureRecorder host (open.processor);
        auto& selector = open.get<VelbriLedStackSelector> (control);

        selector.mouseUp (releaseAt (selector, 60, 40)); // a new row
        selector.mouseUp (releaseAt (selector, 60, 40)); // the lit row again: still one gesture

        const juce::StringArray expected { "begin " + parameterId, "perform " + parameterId, "end " + parameterId };
        juce::StringArray twice (expected);
        twice.addArray (expected);
        EXPECT_EQ (host.events, twice);
    }
}
