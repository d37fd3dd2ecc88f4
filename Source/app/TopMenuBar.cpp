#include "TopMenuBar.h"

#include "ui/OrvoLookAndFeel.h"

namespace orvo
{

class TopMenuBar::Title final : public juce::Component
{
public:
    Title (TopMenuBar& b, int i, const juce::String& name) : bar (b), index (i)
    {
        setName (name);
        setComponentID ("top.menu." + juce::String (i));
        setRepaintsOnMouseActivity (true);
        setTitle (name);
    }

    void paint (juce::Graphics& g) override
    {
        const bool open = bar.openMenu() == index;
        if (open || isMouseOver())
        {
            g.setColour (open ? palette::panelHeader : palette::panel);
            g.fillRoundedRectangle (getLocalBounds().toFloat().reduced (1.0f, 2.0f), 3.0f);
        }
        g.setColour (palette::text);
        g.setFont (juce::Font ((float) juce::jmin (15, getHeight() - 6)));
        g.drawText (getName(), getLocalBounds(), juce::Justification::centred);
    }

    void mouseDown (const juce::MouseEvent&) override { bar.showMenu (bar.openMenu() == index ? -1 : index); }

private:
    TopMenuBar& bar;
    const int index;
};

TopMenuBar::TopMenuBar()
{
    setComponentID ("top.menuBar");
    setWantsKeyboardFocus (false);
}

TopMenuBar::~TopMenuBar()
{
    if (openIndex >= 0)
        juce::PopupMenu::dismissAllActiveMenus();
    juce::Desktop::getInstance().removeGlobalMouseListener (this);
    setModel (nullptr);
}

void TopMenuBar::setModel (juce::MenuBarModel* m)
{
    if (model == m)
        return;
    if (model != nullptr)
        model->removeListener (this);
    model = m;
    if (model != nullptr)
        model->addListener (this);
    menuBarItemsChanged (model);
}

void TopMenuBar::menuBarItemsChanged (juce::MenuBarModel*)
{
    const auto names = model != nullptr ? model->getMenuBarNames() : juce::StringArray();
    bool same = (int) titles.size() == names.size();
    for (int i = 0; same && i < names.size(); ++i)
        same = titles[(size_t) i]->getName() == names[i];
    if (same)
        return;
    titles.clear();
    for (int i = 0; i < names.size(); ++i)
    {
        titles.push_back (std::make_unique<Title> (*this, i, names[i]));
        addAndMakeVisible (*titles.back());
    }
    placeTitles();
}

void TopMenuBar::placeTitles()
{
    // The editor's layout pass may move the titles afterwards; this is their own place.
    const juce::Font font (15.0f);
    int x = 4;
    for (auto& t : titles)
    {
        const int w = font.getStringWidth (t->getName()) + 24;
        t->setBounds (x, 0, w, 24);
        x += w;
    }
}

void TopMenuBar::paint (juce::Graphics& g)
{
    g.fillAll (palette::background.darker (0.35f));
    g.setColour (palette::panelOutline.withAlpha (0.6f));
    g.fillRect (0, getHeight() - 1, getWidth(), 1);
}

void TopMenuBar::showMenu (int index)
{
    if (index == openIndex)
        return;
    const bool opening = index >= 0 && index < (int) titles.size() && model != nullptr;
    // The menu being replaced must not report its dismissal as the bar's state.
    openIndex = -1;
    juce::PopupMenu::dismissAllActiveMenus();
    auto& desktop = juce::Desktop::getInstance();
    desktop.removeGlobalMouseListener (this);
    for (auto& t : titles)
        t->repaint();
    if (!opening)
        return;
    openIndex = index;
    lastPointer = desktop.getMousePosition();
    desktop.addGlobalMouseListener (this);
    auto& title = *titles[(size_t) index];
    title.repaint();
    auto menu = model->getMenuForIndex (index, title.getName());
    menu.setLookAndFeel (&getLookAndFeel());
    menu.showMenuAsync (juce::PopupMenu::Options()
                            .withTargetComponent (this)
                            .withTargetScreenArea (title.getScreenBounds())
                            .withMinimumWidth (title.getScreenBounds().getWidth()),
                        [safe = juce::Component::SafePointer<TopMenuBar> (this), index, shown = ++shownMenus] (int result)
                        {
                            if (safe != nullptr && safe->shownMenus == shown)
                                safe->menuDismissed (index, result);
                        });
}

void TopMenuBar::menuDismissed (int index, int result)
{
    openIndex = -1;
    juce::Desktop::getInstance().removeGlobalMouseListener (this);
    for (auto& t : titles)
        t->repaint();
    if (result != 0 && model != nullptr)
    {
        // After the menu has gone, as a desktop menu bar does: the chosen item may open a dialog.
        juce::MessageManager::callAsync ([safe = juce::Component::SafePointer<TopMenuBar> (this), result, index]
                                         {
                                             if (safe != nullptr && safe->model != nullptr)
                                                 safe->model->menuItemSelected (result, index);
                                         });
    }
}

bool TopMenuBar::keyPressed (const juce::KeyPress& key)
{
    // An open menu hands Left and Right to the bar it belongs to.
    if (openIndex < 0 || titles.empty())
        return false;
    const int n = (int) titles.size();
    if (key.isKeyCode (juce::KeyPress::leftKey))
    {
        showMenu ((openIndex + n - 1) % n);
        return true;
    }
    if (key.isKeyCode (juce::KeyPress::rightKey))
    {
        showMenu ((openIndex + 1) % n);
        return true;
    }
    return false;
}

int TopMenuBar::titleAt (juce::Point<int> screenPoint) const
{
    for (size_t i = 0; i < titles.size(); ++i)
        if (titles[i]->isShowing() && titles[i]->getScreenBounds().contains (screenPoint))
            return (int) i;
    return -1;
}

void TopMenuBar::mouseMove (const juce::MouseEvent& e)
{
    // While a menu is open the pointer is followed over the whole desktop: reaching another title opens its menu.
    // Only a real move counts: a menu appearing under a resting pointer must not switch back.
    const auto at = e.getScreenPosition();
    if (openIndex < 0 || at == lastPointer)
        return;
    lastPointer = at;
    const int over = titleAt (e.getScreenPosition());
    if (over >= 0 && over != openIndex)
        showMenu (over);
}

} // namespace orvo
