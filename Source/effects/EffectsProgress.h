#pragma once

#include <string>

namespace orvo
{

/** What the effects progress overlay shows: the readback and the Wedge send both drive one. The
    view compares `version` with the one it drew, so a tick repaints only after a change. */
struct EffectsProgress
{
    bool visible = false;
    std::string title, text;
    double fraction = 0.0;
    unsigned version = 0;

    void show (const std::string& newTitle, const std::string& newText, double newFraction)
    {
        visible = true;
        title = newTitle;
        text = newText;
        fraction = newFraction;
        ++version;
    }
    void update (const std::string& newText, double newFraction) { show (title, newText, newFraction); }
    void hide()
    {
        visible = false;
        ++version;
    }
};

} // namespace orvo
