#include "textbutton.h"

#include "platform/services.h"
#include "sounds.h"

QPushButton* Make_Text_Button(QWidget* parent, const QString& objectName, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setStyleSheet(QStringLiteral("font-size: 10pt; padding: 0 12px;"));
    button->setMinimumHeight(platform::twips(540));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::pressed, button, [] { Play_Click(); });
    QObject::connect(button, &QPushButton::released, button, [] { Play_Click(); });
    return button;
}
