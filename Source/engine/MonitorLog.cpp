#include "MonitorLog.h"

#include <algorithm>

namespace orvo
{

size_t utf8Length (const std::string& text)
{
    return (size_t) std::count_if (text.begin(), text.end(), [] (char c) { return ((unsigned char) c & 0xC0) != 0x80; });
}

namespace
{
/** Byte offset of code point `index` (or the end). */
size_t byteOffsetOfCodePoint (const std::string& text, size_t index)
{
    size_t seen = 0;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (((unsigned char) text[i] & 0xC0) != 0x80)
        {
            if (seen == index)
                return i;
            ++seen;
        }
    }
    return text.size();
}
} // namespace

void MonitorLog::append (const std::string& text)
{
    if (text.empty() || ! monitorVisible.load())
        return;
    log += text;
    count += utf8Length (text);
    if (listener != nullptr)
        listener->logAppended (text);
    trim();
}

void MonitorLog::trim()
{
    if (count <= trimThreshold)
        return;
    const size_t start = count > trimKeep ? count - trimKeep : 0;
    const size_t startByte = byteOffsetOfCodePoint (log, start);
    size_t keepFrom = startByte;
    const auto lineBreak = log.find ('\n', startByte);
    if (lineBreak != std::string::npos && lineBreak + 1 < log.size())
        keepFrom = lineBreak + 1;
    log = std::string (discardNotice) + log.substr (keepFrom);
    count = utf8Length (log);
    if (listener != nullptr)
        listener->logReplaced (log);
}

void MonitorLog::queueLine (std::string line)
{
    if (! monitorVisible.load())
        return;
    std::lock_guard<std::mutex> lock (pendingLock);
    pending.push_back (std::move (line));
    if (pending.size() > maxPendingLines)
        pending.erase (pending.begin(), pending.begin() + (std::ptrdiff_t) (pending.size() - maxPendingLines));
}

void MonitorLog::drain()
{
    std::vector<std::string> lines;
    {
        std::lock_guard<std::mutex> lock (pendingLock);
        lines.swap (pending);
    }
    if (lines.empty() || ! monitorVisible.load())
        return;
    std::string joined;
    for (const auto& l : lines)
        joined += l;
    append (joined);
}

void MonitorLog::clear()
{
    log.clear();
    count = 0;
    if (listener != nullptr)
        listener->logReplaced (log);
}

void MonitorLog::setMonitorVisible (bool visible)
{
    monitorVisible.store (visible);
    if (! visible)
    {
        std::lock_guard<std::mutex> lock (pendingLock);
        pending.clear();
    }
}

size_t MonitorLog::pendingLineCount() const
{
    std::lock_guard<std::mutex> lock (pendingLock);
    return pending.size();
}

} // namespace orvo
