// Every dialog shows each of its texts whole and carries a title of its own, at the
// desktop's usual font and at one a quarter larger; so does a message box.
#include "AppTestSupport.h"
#include "gui/catalogues/TreePane.h"
#include "gui/app/FileMenu.h"
#include "gui/app/frmAbout.h"
#include "gui/app/frmPreferences.h"
#include "gui/catalogues/frmHCL.h"
#include "gui/commands/frmSourceHTML.h"
#include "platform/WidgetInput.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

namespace {

// The texts the dialog's own size cuts: labels, check boxes and option buttons.
QStringList cutTexts(QWidget& dialog) {
    QApplication::processEvents();  // laid out as on screen
    QStringList cut;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&dialog) || label->text().isEmpty()) continue;
        const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                            : label->sizeHint().width() <= label->width() &&
                                                  label->sizeHint().height() <= label->height();
        if (!fits) cut << label->text();
    }
    for (QAbstractButton* box : dialog.findChildren<QAbstractButton*>()) {
        if (!qobject_cast<QCheckBox*>(box) && !qobject_cast<QRadioButton*>(box)) continue;
        if (box->isVisibleTo(&dialog) && box->sizeHint().width() > box->width()) cut << box->text();
    }
    return cut;
}

class DialogTextTest : public WindowTest {
protected:
    testing_support::ScriptedModals modals;
    testing_support::ScriptedFileDialogs fileDialogs;
    QStringList seen;

    void SetUp() override { widget_input::showAndWait(w.form.get()); }
    void check(QWidget& dialog) {
        seen << dialog.metaObject()->className();
        EXPECT_FALSE(dialog.windowTitle().isEmpty() || dialog.windowTitle() == u"Quorvantil"_s)
            << dialog.metaObject()->className();
        EXPECT_EQ(cutTexts(dialog), QStringList()) << dialog.metaObject()->className();
    }
    // A modal dialog the next action opens is checked and closed.
    void thenCheck() {
        modals.then([this](QDialog& d) {
            check(d);
            d.reject();
        });
    }
    template <class Dialog> Dialog* shownDialog() {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<Dialog*>(top); dialog && dialog->isVisible()) return dialog;
        ADD_FAILURE() << Dialog::staticMetaObject.className() << " is not shown";
        return nullptr;
    }
    template <class Dialog> void checkShown() {
        if (Dialog* dialog = shownDialog<Dialog>()) {
            check(*dialog);
            dialog->hide();
        }
    }
    void clickContentOfLine(const QString& name, const QString& content, const QString& scheme) {
        w.context.record.clear();
        w.context.record.append({name, content, {}, scheme});
        editLine(1);
        widget_input::click(w.find<QLineEdit>(u"editNrmlContent"_s), Qt::LeftButton, {}, QPoint(5, 5));
    }

    // Each dialog as the user opens it.
    void openEveryDialog() {
        seen.clear();
        w.find<QAction>(u"mnuEditPrefs"_s)->trigger();
        checkShown<frmPreferences>();
        thenCheck();
        w.find<QAction>(u"MnuEditFirewall"_s)->trigger();
        w->findChild<QAction*>(u"mnuHelpAbout"_s)->trigger();
        checkShown<frmAbout>();
        thenCheck();
        w->findChild<QAction*>(u"mnuResEditSchemas"_s)->trigger();
        thenCheck();
        w.find<QAction>(u"mnuMaintMeta_%1"_s.arg(MetaPanelEvents::kAddCustomLine))->trigger();
        for (const char* scheme : {"AglsAgent", "ACTVers", ""}) {
            thenCheck();
            clickContentOfLine(u"DC.Creator"_s, QString(200, u'x'), QLatin1String(scheme));
        }
        w.context.document.dropMark();  // Add Custom Line marked the record before it asked

        // A new Harvest Control List to work on.
        fileDialogs.choose(path(u"site/hcl.htm"_s));
        boxes.expect(u"A number of folders have been placed"_s, kAnswerOk);
        w.find<QAction>(u"mnuFileNew_%1"_s.arg(FileMenu::kNewHarvestList))->trigger();
        thenCheck();
        w.find<QAction>(u"mnuMaintNodes_%1"_s.arg(TreePane::kManualInsertHere))->trigger();
        w.context.document.dropMark();  // the insert marked the list
        thenCheck();
        w.find<QAction>(u"mnuFileSaveAs_%1"_s.arg(FileMenu::kSaveAsRssChannel))->trigger();

        w.find<QAction>(u"mnuFileSaveAs_%1"_s.arg(FileMenu::kSaveAsHarvestList))->trigger();
        if (frmHCL* list = shownDialog<frmHCL>()) {
            check(*list);
            widget_input::click(child<QPushButton>(*list, u"cmdSaveRDF"_s), Qt::LeftButton, {}, QPoint(5, 5));
            check(*list);
            list->hide();
        }
        w->findChild<QAction*>(u"mnuBatchShowLog"_s)->trigger();
        if (frmSourceHTML* macros = shownDialog<frmSourceHTML>()) {
            check(*macros);
            for (int i = 0; i < 2; ++i) press(*macros, u"cmdShowLog"_s);  // the standard view
            check(*macros);
            delete macros;  // the one editor of the run: the next test builds it afresh at its font
        }
        EXPECT_EQ(seen.size(), 14) << seen.join(u' ');
    }
};

TEST_F(DialogTextTest, EveryDialogShowsItsTextsWholeAtTheUsualFont) {
    openEveryDialog();
}

TEST_F(DialogTextTest, EveryDialogShowsItsTextsWholeAtAQuarterLargerFont) {
    const LargerFont larger;
    openEveryDialog();
}

TEST_F(DialogTextTest, AMessageBoxWithoutATitleOfItsOwnCarriesTheProgramsTitle) {
    QString title, text;
    QTimer::singleShot(0, [&] {
        for (QWidget* box : QApplication::topLevelWidgets()) {
            if (box->objectName() != u"MsgBox"_s || !box->isVisible()) continue;
            title = box->windowTitle();
            text = box->findChild<QLabel*>(u"MsgBoxText"_s)->text();
            EXPECT_EQ(cutTexts(*box), QStringList());
            box->close();
        }
    });
    {
        const testing_support::RealMsgBoxes real;
        testing_support::TestContext context;
        context.user.MsgBox(u"ErrorCode: 12007 (host not found: schemes.example)"_s, platform::kOkOnly, QString());
    }
    EXPECT_EQ(title, u"Quorvantile"_s);
    EXPECT_TRUE(text.startsWith(u"ErrorCode"_s));
}

}  // namespace
