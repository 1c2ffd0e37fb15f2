#pragma once

#include <QKeyCombination>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QCoreApplication;
class QMenu;
class QWidget;

namespace keys {

// One key of a window: the key with its modifiers, what it does, and how the window tells of it.
struct Key
{
    QKeyCombination key;
    std::function<void()> action;
    QString name;           // how tooltips and menus name the key: "Space", "Ctrl+Z", "1～9"
    QList<QWidget*> tipsOn; // the controls whose tooltips name it
    QString what = {};      // what it does, in words: a line of those tooltips, and the entry of the context menu
    // With these, the key is also an entry of the window's context menu, usable while `usable` says so and ticked
    // while `ticked` does.
    std::function<bool()> usable = {};
    std::function<bool()> ticked = {};
};

// A window's keys, written once: installed on the window and every control in it, the table runs a key's action
// wherever the focus is, keeps the focused control from taking the key for a binding of its own, and makes the
// tooltips and the context menu entries that tell of the keys. A focused push button takes Space itself and Enter
// as Space, before the table.
class KeyTable final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyTable)

public:
    KeyTable(QWidget* window, QList<Key> keys);

    // "Space または Enter": the keys that name this control.
    QString names(const QWidget* control) const;
    // The control's tooltip lines: "R キー", "1～9 キー: その番号の空欄の語だけを表示", one per thing done.
    QString tip(const QWidget* control) const;
    // Adds an entry per context-menu key: its words and its key, usable and ticked as the table says.
    void addEntries(QMenu* menu) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Key* find(QKeyCombination pressed) const;

    QList<Key> m_keys;
};

// A held key acts once: for the whole program, in every window, list, pop-up, menu and message box, the
// auto-repeated presses of a held key are dropped, but for the keys that move through a list or a text (the arrows,
// Page Up/Down, Home and End). A box opened by a key press so never takes that key's repeats as its answer.
void actOnceWhenHeld(QCoreApplication& application);

} // namespace keys
