// SPDX-License-Identifier: GPL-3.0-or-later
#include "itemlistaccessible.h"

#include "itemlist.h"
#include "itemlistpopup.h"
#include "resultnotice.h"

#include <QAccessibleWidget>
#include <QKeySequence>

using namespace Qt::StringLiterals;

namespace {

// All that the toolkit tells of any drop-down list (its open list as its child, expandable and
// expanded, the actions that open it), except that here the list is named by its row and the
// chosen item is its text. The toolkit names a drop-down after its chosen entry and leaves
// saying which list it is to a label beside it; the rows' lists have no label of their own.
// Its own interface for drop-downs is not public, so it cannot be built upon.
class ItemListAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit ItemListAccessible(ItemList *list)
        : QAccessibleWidget(list, QAccessible::ComboBox)
    { }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: {
            const QString name = QAccessibleWidget::text(t);
            return name.isEmpty() ? chosen() : name;
        }
        case QAccessible::Value:
            return chosen();
        case QAccessible::Description: // why a list without entries has none
            if (list()->count() == 0 && !list()->placeholderText().isEmpty())
                return list()->placeholderText();
            return QAccessibleWidget::text(t);
        case QAccessible::Accelerator: // what opens the list; Down alone picks the next entry
            return QKeySequence(Qt::ALT | Qt::Key_Down).toString(QKeySequence::NativeText);
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = list()->isOpen();
        return s;
    }

    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->openList()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && child->object() == list()->openList() ? 0 : -1;
    }
    QAccessibleInterface *childAt(int /*x*/, int /*y*/) const override { return nullptr; }

    QStringList actionNames() const override
    {
        return {showMenuAction(), pressAction(), setFocusAction()};
    }
    QString localizedActionDescription(const QString &action) const override
    {
        if (action == showMenuAction() || action == pressAction())
            return QComboBox::tr("Open the combo box selection popup");
        return QAccessibleWidget::localizedActionDescription(action);
    }
    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return QAccessibleWidget::doAction(action);
        if (list()->isOpen())
            list()->hidePopup();
        else
            list()->showPopup();
    }
    QStringList keyBindingsForAction(const QString & /*action*/) const override { return {}; }

    // The chosen item as read-only text, with no caret or selection of its own.
    QString text(int start, int end) const override { return chosen().mid(start, end - start); }
    int characterCount() const override { return int(chosen().size()); }
    void selection(int /*index*/, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int /*start*/, int /*end*/) override { }
    void removeSelection(int /*index*/) override { }
    void setSelection(int /*index*/, int /*start*/, int /*end*/) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int /*position*/) override { }
    QRect characterRect(int /*offset*/) const override { return QRect(); }
    int offsetAtPoint(const QPoint & /*point*/) const override { return -1; }
    void scrollToSubstring(int /*start*/, int /*end*/) override { }
    QString attributes(int /*offset*/, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return QString();
    }

private:
    ItemList *list() const { return static_cast<ItemList *>(widget()); }
    QString chosen() const { return list()->currentText(); }
};

// The open list belongs to its item list, as a plain drop-down's does, although it is a window
// of its own: a screen reader then hears its entries as part of the item list, in the window
// that has the focus, and not as another window that is not active. After its field and
// entries comes the notice that nothing matches.
class ItemListPopupAccessible : public QAccessibleWidget
{
public:
    explicit ItemListPopupAccessible(ItemListPopup *popup)
        : QAccessibleWidget(popup, QAccessible::Pane)
    { }

    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(widget()->parentWidget());
    }
    int childCount() const override { return QAccessibleWidget::childCount() + 1; }
    QAccessibleInterface *child(int index) const override
    {
        if (index == QAccessibleWidget::childCount())
            return QAccessible::queryAccessibleInterface(popup()->noMatchNotice());
        return QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child && child->object() == popup()->noMatchNotice())
            return QAccessibleWidget::childCount();
        return QAccessibleWidget::indexOfChild(child);
    }

private:
    ItemListPopup *popup() const { return static_cast<ItemListPopup *>(widget()); }
};

QAccessibleInterface *itemListFactory(const QString &className, QObject *object)
{
    if (auto *notice = qobject_cast<ResultNotice *>(object))
        return accessibleResultNotice(notice);
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == "ItemList"_L1)
        return new ItemListAccessible(static_cast<ItemList *>(object));
    if (className == "ItemListPopup"_L1)
        return new ItemListPopupAccessible(static_cast<ItemListPopup *>(object));
    return nullptr;
}

} // namespace

void installItemListAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(itemListFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
