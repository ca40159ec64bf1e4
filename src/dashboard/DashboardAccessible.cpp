#include "dashboard/DashboardAccessible.h"

#include "dashboard/GoalPanel.h"
#include "dashboard/PictureBox.h"
#include "widgets/ClickableLabel.h"

#include <QAccessibleWidget>

namespace {

constexpr const char* CompletedProperty = "aimwellCompleted";
constexpr const char* TotalProperty = "aimwellTotal";

// A focusable box that acts as one button: its inner labels are not read one by one.
// The value is the number of tasks completed, out of all tasks.
class ItemAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    ItemAccessible(QWidget* item, ClickableLabel* name, ClickableLabel* remove)
        : QAccessibleWidget(item, QAccessible::Button), m_name(name), m_remove(remove)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        // Only panels count tasks; the centre box has no value.
        if (type == QAccessible::ValueInterface && widget()->property(TotalProperty).isValid())
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty() && m_name)
            return m_name->text();
        if (t == QAccessible::Description)
            return DashboardAccessible::description(widget());
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return m_remove ? 1 : 0; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 && m_remove ? QAccessible::queryAccessibleInterface(m_remove) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return m_remove && child && child->object() == m_remove ? 0 : -1;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && m_name)
            m_name->click();
        else
            QAccessibleWidget::doAction(action);
    }

    QVariant currentValue() const override { return widget()->property(CompletedProperty); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return widget()->property(TotalProperty); }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    ClickableLabel* m_name;
    ClickableLabel* m_remove;
};

// A clickable label: a link or a button that presses like a click. A heading that names
// it (its buddy) comes before its own text, so the file link reads with its heading.
class LabelAccessible : public QAccessibleWidget
{
public:
    explicit LabelAccessible(ClickableLabel* label) : QAccessibleWidget(label) {}

    // Asked each time: Qt may make the interface while the label is still being set up.
    QAccessible::Role role() const override
    {
        return static_cast<ClickableLabel*>(widget())->accessibleRole();
    }

    QString text(QAccessible::Text t) const override
    {
        auto* label = static_cast<ClickableLabel*>(widget());
        if (t != QAccessible::Name || !label->accessibleName().isEmpty())
            return QAccessibleWidget::text(t);
        for (const QLabel* heading :
             label->parentWidget()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (heading->buddy() == label)
                return heading->text() + u' ' + label->text();
        }
        return label->text();
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            static_cast<ClickableLabel*>(widget())->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* makeInterface(const QString&, QObject* object)
{
    if (auto* panel = qobject_cast<GoalPanel*>(object))
        return new ItemAccessible(panel, panel->nameLink(), panel->deleteLink());
    if (auto* label = qobject_cast<ClickableLabel*>(object))
        return new LabelAccessible(label);
    // A picture box that takes the focus is the centre box, named by its label.
    auto* box = qobject_cast<PictureBox*>(object);
    if (box && box->focusPolicy() != Qt::NoFocus)
        return new ItemAccessible(box, box->findChild<ClickableLabel*>(), nullptr);
    return nullptr;
}

} // namespace

namespace DashboardAccessible {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(makeInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

QString description(const QWidget* item)
{
    return item->accessibleDescription();
}

void setCounts(QWidget* item, int completed, int total)
{
    item->setProperty(CompletedProperty, completed);
    item->setProperty(TotalProperty, total);
}

} // namespace DashboardAccessible
