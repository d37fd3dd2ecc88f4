#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** Alert and choice dialogs. Button captions are upper case; the result is the index of the
    chosen button, or -1 when the dialog was dismissed. */
class Prompts
{
public:
    virtual ~Prompts() = default;
    virtual void showChoice (const std::string& title, const std::string& message,
                             const std::vector<std::string>& buttons, std::function<void (int)> onResult) = 0;
};

/** Save, open and folder dialogs; the callback gets nothing when the user cancels. */
class FileDialogs
{
public:
    using Result = std::function<void (std::optional<std::string>)>;
    virtual ~FileDialogs() = default;
    virtual void chooseFileToSave (const std::string& title, const std::string& initialPath, const std::string& patterns, Result onResult) = 0;
    virtual void chooseFileToOpen (const std::string& title, const std::string& initialPath, const std::string& patterns, Result onResult) = 0;
    virtual void chooseFolder (const std::string& title, const std::string& initialPath, Result onResult) = 0;
};

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void setText (const std::string& text) = 0;
    virtual std::string getText() const = 0;
};

/** Test stand-ins: answers are scripted up front and every request is recorded. */
class ScriptedPrompts final : public Prompts
{
public:
    struct Shown
    {
        std::string title, message;
        std::vector<std::string> buttons;
    };

    std::deque<int> answers;
    std::vector<Shown> shown;

    void showChoice (const std::string& title, const std::string& message, const std::vector<std::string>& buttons,
                     std::function<void (int)> onResult) override
    {
        shown.push_back ({ title, message, buttons });
        int answer = -1;
        if (! answers.empty())
        {
            answer = answers.front();
            answers.pop_front();
        }
        if (onResult)
            onResult (answer);
    }
};

class ScriptedFileDialogs final : public FileDialogs
{
public:
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> titles;

    void chooseFileToSave (const std::string& t, const std::string&, const std::string&, Result r) override { answer (t, r); }
    void chooseFileToOpen (const std::string& t, const std::string&, const std::string&, Result r) override { answer (t, r); }
    void chooseFolder (const std::string& t, const std::string&, Result r) override { answer (t, r); }

private:
    void answer (const std::string& title, Result& r)
    {
        titles.push_back (title);
        std::optional<std::string> a;
        if (! answers.empty())
        {
            a = answers.front();
            answers.pop_front();
        }
        if (r)
            r (a);
    }
};

class StringClipboard final : public Clipboard
{
public:
    void setText (const std::string& t) override { text = t; }
    std::string getText() const override { return text; }
    std::string text;
};

} // namespace orvo
