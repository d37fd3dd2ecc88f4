#include "engine/MonitorLog.h"
#include "engine/SidebarModel.h"

#include <gtest/gtest.h>

using namespace orvo;

TEST (MonitorLogTrimming, KeepsAtMost32000CharactersFromALineStartAfterPassing50000)
{
    MonitorLog log;
    log.setMonitorVisible (true);
    const std::string line (99, 'x');
    for (int i = 0; i < 499; ++i)
        log.append (line + "\n"); // 49,900 characters
    log.append (std::string (90, 'y'));
    ASSERT_EQ (log.characterCount(), 49990u);
    log.append (std::string (20, 'z'));

    const auto& text = log.text();
    const std::string notice = MonitorLog::discardNotice;
    ASSERT_EQ (text.rfind (notice, 0), 0u);
    EXPECT_LE (text.size(), notice.size() + 32000);
    EXPECT_EQ (text[notice.size()], 'x') << "kept text starts at a line start";
    EXPECT_EQ (text.substr (text.size() - 20), std::string (20, 'z'));
    EXPECT_EQ (log.characterCount(), utf8Length (text));
}

TEST (MonitorLogTrimming, KeepsTheLast32000CharactersOfALogWithoutLineBreaks)
{
    MonitorLog log;
    log.setMonitorVisible (true);
    std::string big;
    for (int i = 0; i < 60000; ++i)
        big += (char)('a' + i % 26);
    log.append (big);
    EXPECT_EQ (log.text(), MonitorLog::discardNotice + big.substr (60000 - 32000));
}

TEST (MonitorLogTrimming, CountsCharactersNotBytes)
{
    MonitorLog log;
    log.setMonitorVisible (true);
    log.append ("\xc3\xa9t\xc3\xa9\n"); // "été"
    EXPECT_EQ (log.characterCount(), 4u);
}

TEST (MonitorLogQueue, DeliversTheNewest200LinesInOrderOnDrain)
{
    MonitorLog log;
    log.setMonitorVisible (true);
    for (int i = 0; i < 250; ++i)
        log.queueLine ("line " + std::to_string (i) + "\n");
    EXPECT_EQ (log.pendingLineCount(), 200u);
    EXPECT_TRUE (log.text().empty()) << "nothing reaches the log before the timer drains";
    log.drain();
    EXPECT_EQ (log.text().rfind ("line 50\n", 0), 0u);
    EXPECT_NE (log.text().find ("line 249\n"), std::string::npos);
    EXPECT_EQ (log.text().find ("line 49\n"), std::string::npos);
    EXPECT_EQ (log.pendingLineCount(), 0u);
}

TEST (MonitorLogQueue, CollectsNothingWhileNoMonitorIsOpen)
{
    MonitorLog log;
    log.append ("before\n");
    log.queueLine ("queued before\n");
    log.setMonitorVisible (true);
    log.drain();
    log.append ("after\n");
    EXPECT_EQ (log.text(), "after\n");

    log.queueLine ("pending\n");
    log.setMonitorVisible (false); // closing the last MONITOR empties the queue
    log.setMonitorVisible (true);
    log.drain();
    EXPECT_EQ (log.text(), "after\n");
    log.append ("");
    EXPECT_EQ (log.text(), "after\n");
}

TEST (SidebarPanes, ShareTheMonitorAndDetailsDisplaysWithOnePaneAtATime)
{
    SidebarModel s (SidebarModel::monitor, SidebarModel::notes);
    EXPECT_TRUE (s.monitorShown());
    EXPECT_FALSE (s.showsPlaceholder (SidebarModel::top));

    s.setTool (SidebarModel::bottom, SidebarModel::monitor);
    EXPECT_FALSE (s.showsPlaceholder (SidebarModel::top)) << "the log stays where it was";
    EXPECT_TRUE (s.showsPlaceholder (SidebarModel::bottom));
    EXPECT_EQ (SidebarModel::placeholderText (SidebarModel::monitor),
               "Monitor is already open in the other sidebar window.");

    s.setTool (SidebarModel::top, SidebarModel::notes);
    EXPECT_FALSE (s.showsPlaceholder (SidebarModel::bottom)) << "the other pane takes the display once it is free";
    EXPECT_TRUE (s.monitorShown());

    const bool changed = s.setTool (SidebarModel::bottom, SidebarModel::parameterHelp);
    EXPECT_TRUE (changed);
    EXPECT_FALSE (s.monitorShown());
    EXPECT_EQ (SidebarModel::placeholderText (SidebarModel::parameterDetails),
               "Parameter Details is already open in the other sidebar window.");
}

TEST (SidebarPanes, OfferTheDiagnosticToolsOnlyInDiagnosticMode)
{
    EXPECT_EQ (SidebarModel::toolList (false), (std::vector<int>{ 1, 2, 7, 3, 4, 5, 6 }));
    EXPECT_EQ (SidebarModel::toolList (true), (std::vector<int>{ 1, 2, 7, 3, 4, 5, 6, 8, 9, 10 }));
    EXPECT_EQ (SidebarModel::toolList (true, true).back(), 11);
    EXPECT_EQ (SidebarModel::validDefault (SidebarModel::top, 9, false), 1);
    EXPECT_EQ (SidebarModel::validDefault (SidebarModel::bottom, 9, false), 2);
    EXPECT_EQ (SidebarModel::validDefault (SidebarModel::bottom, 9, true), 9);
    EXPECT_EQ (SidebarModel::validDefault (SidebarModel::top, 0, true), 1);
    EXPECT_EQ (SidebarModel::validDefault (SidebarModel::top, 11, true), 1);

    SidebarModel s;
    s.setDiagnosticMode (true);
    s.setTool (SidebarModel::top, SidebarModel::layoutEdit);
    EXPECT_EQ (s.tool (SidebarModel::top), SidebarModel::layoutEdit);
    s.setDiagnosticMode (false);
    EXPECT_EQ (s.tool (SidebarModel::top), SidebarModel::parameterDetails) << "a tool no longer offered falls back";
    s.setTool (SidebarModel::bottom, SidebarModel::parameterProperties);
    EXPECT_EQ (s.tool (SidebarModel::bottom), SidebarModel::parameterDetails);
}
