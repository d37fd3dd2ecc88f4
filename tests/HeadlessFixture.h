#pragma once

#include "engine/HeadlessEditor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace orvo::test
{

/** The whole editor, as the headless factory builds it, with the Virtual Orvo at hand. */
struct HeadlessFixture : ::testing::Test
{
    std::unique_ptr<HeadlessEditor> editor = makeHeadlessEditor();
    EditorEngine& engine = editor->engine();
    VirtualOrvo& instrument = editor->instrument();

    bool logContains (const std::string& text) const { return engine.log().text().find (text) != std::string::npos; }
};

} // namespace orvo::test
