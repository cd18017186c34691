#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QtTest>

#include "common/captions.h"
#include "common/frmmsgbox.h"
#include "custom/frmcustomsubject.h"
#include "custom/frmedit.h"
#include "subjects/treenode.h"
#include "tests/support/customeditor.h"

namespace {

// The smaller of the two screens the windows are made for, less a task bar and a title bar.
const QSize SmallScreen(1024, 768 - 80);

// The interface texts of the template's source in one language column, numbered as the program reads them.
QStringList templateCaptions(const QString& language)
{
    QFile file(QStringLiteral(CAPTIONS_SOURCE));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    const int column = lines.takeFirst().split(u'\t').indexOf(language);
    QStringList captions { QString() };
    for (const QString& line : lines) {
        const QStringList fields = line.split(u'\t');
        const int k = fields.value(0).toInt();
        while (captions.size() <= k)
            captions << QString();
        captions[k] = fields.value(column);
    }
    captions << QString();
    return captions;
}

QString describe(const QWidget* w)
{
    return QStringLiteral("%1 %2 \"%3\"")
        .arg(QLatin1String(w->metaObject()->className()), w->objectName(), w->property("text").toString().left(30));
}

// What a student would see cut off or covered in window: a control outside it, two controls on top of each
// other, a text wider or taller than its control. The message window's label breaks its lines itself and is
// measured apart.
QStringList layoutProblems(QWidget* window, const QLabel* measuredApart = nullptr)
{
    QStringList problems;
    QList<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->parentWidget() != window)
            continue;
        controls << w;
        const QRect r = w->geometry();
        if (!window->rect().contains(r))
            problems << describe(w) + QStringLiteral(" outside the window");
        if (auto* label = qobject_cast<QLabel*>(w); label && label != measuredApart) {
            const bool fits = label->wordWrap() ? label->height() >= label->heightForWidth(label->width())
                                                : label->width() >= label->sizeHint().width();
            if (!fits)
                problems << describe(w) + QStringLiteral(" cuts its text");
        }
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            if (button->width() < button->sizeHint().width() || button->height() < button->fontMetrics().height())
                problems << describe(w) + QStringLiteral(" cuts its text");
        }
        if (auto* box = qobject_cast<QLineEdit*>(w); box && box->width() < box->minimumSizeHint().width())
            problems << describe(w) + QStringLiteral(" too narrow");
    }
    for (int i = 0; i < controls.size(); ++i) {
        for (int j = i + 1; j < controls.size(); ++j) {
            if (controls[i]->geometry().intersects(controls[j]->geometry()))
                problems << describe(controls[i]) + QStringLiteral(" covers ") + describe(controls[j]);
        }
    }
    return problems;
}

bool fitsSmallScreen(const QSize& size)
{
    return size.width() <= SmallScreen.width() && size.height() <= SmallScreen.height();
}

}

class TestWindowLayouts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void templateTextsAreRead()
    {
        // The texts below are the shipped ones, so a test that read none would prove nothing.
        for (const char* language : { "English", "Spanish" }) {
            const QStringList captions = templateCaptions(QLatin1String(language));
            QVERIFY2(captions.size() > 149, language);
            QVERIFY(!captions[123].isEmpty() && !captions[149].isEmpty());
        }
        QCOMPARE(templateCaptions(QStringLiteral("Spanish")).value(84), QStringLiteral("Cambiar nombre"));
    }

    void editor_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "English";
        QTest::newRow("Spanish") << "Spanish";
    }

    void editor()
    {
        QFETCH(QString, language);
        fixtures::CustomEditorFolder folder;
        Set_Captions(templateCaptions(language));
        frmCustomSubject* editor = folder.open();
        QVERIFY(fitsSmallScreen(editor->size()));
        QVERIFY(fitsSmallScreen(editor->minimumSize()));
        QVERIFY2(layoutProblems(editor).isEmpty(), qPrintable(layoutProblems(editor).join('\n')));
        editor->resize(editor->minimumSize());
        QVERIFY2(layoutProblems(editor).isEmpty(), qPrintable(layoutProblems(editor).join('\n')));
        for (QPushButton* button :
            { editor->btnNewFolder, editor->btnNewSubject, editor->btnRename, editor->btnDelete, editor->btnUndo,
                editor->btnDone })
            QVERIFY2(!button->text().isEmpty(), qPrintable(button->objectName()));
    }

    void aLongPhraseScrollsInsteadOfLosingItsEnd()
    {
        fixtures::CustomEditorFolder folder;
        frmCustomSubject* editor = folder.open();
        QTreeWidgetItem* root = editor->TreeSubjects->topLevelItem(0);
        const QString text
            = QStringLiteral("Excuse me, could you tell me how to get to the railway station from here?");
        QTreeWidgetItem* phrase = makeNode(text, QStringLiteral("animals_at_the_zoo.ale*1*P*T*U"), PhraseImage);
        root->child(0)->addChild(phrase);
        root->child(0)->setExpanded(true);
        editor->resize(editor->minimumSize());
        QCoreApplication::processEvents();
        QTreeWidget* tree = editor->TreeSubjects;
        QVERIFY(tree->columnWidth(0) >= static_cast<QAbstractItemView*>(tree)->sizeHintForColumn(0));
        QVERIFY(tree->visualItemRect(phrase).width() >= tree->fontMetrics().horizontalAdvance(text));
        QVERIFY(tree->horizontalScrollBar()->maximum() > 0);
    }

    void phraseEditor_data() { editor_data(); }

    void phraseEditor()
    {
        QFETCH(QString, language);
        fixtures::CustomEditorFolder folder;
        Set_Captions(templateCaptions(language));
        frmEdit edit(folder.session());
        edit.txtPhrase->setText(QStringLiteral("Können Sie es mir auf der Karte zeigen?"));
        edit.txtTranslation->setText(QStringLiteral("¿Me lo puede enseñar en el mapa?"));
        edit.txtTranslation2->setText(QStringLiteral("Can you show me on the map?"));
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        QVERIFY(fitsSmallScreen(edit.size()));
        QVERIFY2(layoutProblems(&edit).isEmpty(), qPrintable(layoutProblems(&edit).join('\n')));
        edit.resize(edit.minimumSize());
        QVERIFY2(layoutProblems(&edit).isEmpty(), qPrintable(layoutProblems(&edit).join('\n')));
        // The boxes line up, so the student reads three rows of one form.
        QCOMPARE(edit.txtTranslation->x(), edit.txtPhrase->x());
        QCOMPARE(edit.txtTranslation2->x(), edit.txtPhrase->x());
    }

    void messageWindowShowsEveryTemplateText_data() { editor_data(); }

    void messageWindowShowsEveryTemplateText()
    {
        QFETCH(QString, language);
        fixtures::CustomEditorFolder folder;
        const QStringList captions = templateCaptions(language);
        Set_Captions(captions);
        for (int k = 1; k < captions.size(); ++k) {
            if (Caption(k).isEmpty())
                continue;
            frmMsgBox::Show_Busy(folder.session().ProductName, Caption(k), frmMsgBox::DesignHeight);
            frmMsgBox* box = frmMsgBox::showing();
            QVERIFY(box);
            const QString where = QStringLiteral("text %1: ").arg(k);
            // Every text of the template is read at the window's own size, above OK.
            QVERIFY2(box->lblMsg->font().pointSize() == 11, qPrintable(where + Caption(k)));
            QVERIFY2(
                Message_Text_Height(Caption(k), box->lblMsg->font(), box->lblMsg->width()) <= box->lblMsg->height(),
                qPrintable(where + Caption(k)));
            QVERIFY2(layoutProblems(box, box->lblMsg).isEmpty(),
                qPrintable(where + layoutProblems(box, box->lblMsg).join('\n')));
            frmMsgBox::Unload();
        }
    }
};

QTEST_MAIN(TestWindowLayouts)
#include "tst_windowlayouts.moc"
