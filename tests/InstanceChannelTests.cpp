#include "platform/InstanceChannel.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <mutex>

namespace orvo
{
namespace
{
TEST (InstanceChannel, OneInstanceListensAndALaterStartHandsItsMessageOver)
{
    const auto name = "orvo-test-" + juce::Uuid().toString().toStdString();
    EXPECT_FALSE (InstanceChannel::send (name, "nobody", 100));

    std::mutex lock;
    std::vector<std::string> received;
    {
        InstanceChannel first (name);
        ASSERT_TRUE (first.listen (
            [&] (const std::string& m)
            {
                const std::lock_guard<std::mutex> g (lock);
                received.push_back (m);
            }));
        InstanceChannel second (name);
        EXPECT_FALSE (second.listen ([] (const std::string&) {}));

        const std::string big (InstanceChannel::maxMessageBytes + 10, 'x');
        for (const auto& message : { std::string ("/a/One.orvop\n/b/Two.orvob\n"), std::string(), big })
            EXPECT_TRUE (InstanceChannel::send (name, message, 1000));
    }
    ASSERT_EQ (received.size(), 3u);
    EXPECT_EQ (received[0], "/a/One.orvop\n/b/Two.orvob\n");
    EXPECT_EQ (received[1], "");
    EXPECT_EQ (received[2].size(), InstanceChannel::maxMessageBytes);

    // Gone with its owner: nobody answers and the name is free again.
    EXPECT_FALSE (InstanceChannel::send (name, "late", 100));
    InstanceChannel next (name);
    EXPECT_TRUE (next.listen ([] (const std::string&) {}));
}

} // namespace
} // namespace orvo
