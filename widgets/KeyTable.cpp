#include "KeyTable.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

namespace keys {

namespace {

// The modifiers that tell keys apart: Shift and the keypad do not.
constexpr Qt::KeyboardModifiers kDistinct = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Drops the repeats of every key but those that move.
class RepeatFilter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            return false;
        default:
            break;
        }
        // The window system tells a repeat by the press it finds queued behind the release it makes with it; a press
        // that comes a moment later makes the pair look like a release and a fresh press. Both carry the same time,
        // which two strokes of a finger never do.
        const bool repeated = key->isAutoRepeat() || (type != QEvent::KeyRelease && key->timestamp() != 0 &&
                                                      key->key() == m_releasedKey && key->timestamp() == m_releasedAt);
        if (type == QEvent::KeyRelease) {
            m_releasedKey = key->key();
            m_releasedAt = key->timestamp();
        }
        if (!repeated)
            return false;
        // An accepted override keeps every shortcut from taking the repeat; the press that follows is dropped.
        event->accept();
        return true;
    }

private:
    int m_releasedKey = 0;
    quint64 m_releasedAt = 0;
};

} // namespace

KeyTable::KeyTable(QWidget* window, QList<Key> keys) : QObject(window), m_keys(std::move(keys))
{
    // The window's own controls, not the pop-ups of its lists.
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->window() == window)
            control->installEventFilter(this);
    }
    window->installEventFilter(this);
}

const Key* KeyTable::find(QKeyCombination pressed) const
{
    for (const Key& row : m_keys) {
        if (row.key.key() == pressed.key() &&
            (row.key.keyboardModifiers() & kDistinct) == (pressed.keyboardModifiers() & kDistinct))
            return &row;
    }
    return nullptr;
}

QString KeyTable::names(const QWidget* control) const
{
    QStringList names;
    for (const Key& row : m_keys) {
        if (row.tipsOn.contains(control) && !names.contains(row.name))
            names << row.name;
    }
    return names.join(QStringLiteral(" または "));
}

QString KeyTable::tip(const QWidget* control) const
{
    // The keys that do the same thing share a line, in the table's order.
    QStringList whats;
    QList<QStringList> names;
    for (const Key& row : m_keys) {
        if (!row.tipsOn.contains(control))
            continue;
        if (!whats.contains(row.what)) {
            whats << row.what;
            names.append(QStringList{});
        }
        QStringList& same = names[whats.indexOf(row.what)];
        if (!same.contains(row.name))
            same << row.name;
    }
    QStringList lines;
    for (qsizetype i = 0; i < whats.size(); ++i)
        lines << names[i].join(QStringLiteral(" または ")) + QStringLiteral(" キー") +
                     (whats[i].isEmpty() ? QString() : QStringLiteral(": ") + whats[i]);
    return lines.join(u'\n');
}

void KeyTable::addEntries(QMenu* menu) const
{
    for (const Key& row : m_keys) {
        if (!row.usable)
            continue;
        QAction* entry = menu->addAction(row.what + u'\t' + row.name, menu, row.action);
        entry->setEnabled(row.usable());
        entry->setCheckable(bool(row.ticked));
        entry->setChecked(row.ticked && row.ticked());
    }
}

bool KeyTable::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (auto* button = qobject_cast<QPushButton*>(watched);
        button && (key->key() == Qt::Key_Space || isEnter(key->key()))) {
        if (type == QEvent::KeyPress && isEnter(key->key())) {
            button->click();
            return true;
        }
        return false;
    }
    const Key* row = find(key->keyCombination());
    if (!row)
        return false;
    if (type == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    row->action();
    return true;
}

void actOnceWhenHeld(QCoreApplication& application)
{
    application.installEventFilter(new RepeatFilter(&application));
}

} // namespace keys
