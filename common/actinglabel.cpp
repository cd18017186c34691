#include "actinglabel.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>

namespace {
const char* const ActingRole = "parlantaActingRole";

class ActingLabel : public QAccessibleWidget
{
public:
    ActingLabel(QWidget* label, QAccessible::Role role)
        : QAccessibleWidget(label, role)
    {
    }
    // A label's text is what it says; a picture is named by its owner.
    QString text(QAccessible::Text t) const override
    {
        const QString text = QAccessibleWidget::text(t);
        return t == QAccessible::Name && text.isEmpty() ? static_cast<QLabel*>(widget())->text() : text;
    }
    QStringList actionNames() const override
    {
        return QStringList { pressAction() } + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (name != pressAction() || !widget()->isEnabled()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(widget(), &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(widget(), &release);
    }
};

QAccessibleInterface* actingLabel(const QString&, QObject* object)
{
    auto* label = qobject_cast<QLabel*>(object);
    const QVariant role = label ? label->property(ActingRole) : QVariant();
    return role.isValid() ? new ActingLabel(label, QAccessible::Role(role.toInt())) : nullptr;
}
}

void Act_As(QLabel* label, QAccessible::Role role)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(actingLabel);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    label->setFocusPolicy(Qt::TabFocus);
    label->setProperty(ActingRole, int(role));
    // With assistive technology on, a change of the label's text has already made it a plain text's interface.
    QAccessibleInterface* known = QAccessible::queryAccessibleInterface(label);
    if (known && !dynamic_cast<ActingLabel*>(known))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
}
