#include "platform/widgets/UserDialogWindows.h"

#include "platform/widgets/Modal.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>

namespace platform {
namespace {

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int answer;
};

QList<ButtonSpec> buttonsFor(int style) {
    switch (style & 7) {
    case kOkCancel: return {{QMessageBox::Ok, kAnswerOk}, {QMessageBox::Cancel, kAnswerCancel}};
    case kAbortRetryIgnore:
        return {{QMessageBox::Abort, kAnswerAbort}, {QMessageBox::Retry, kAnswerRetry}, {QMessageBox::Ignore, kAnswerIgnore}};
    case kYesNoCancel:
        return {{QMessageBox::Yes, kAnswerYes}, {QMessageBox::No, kAnswerNo}, {QMessageBox::Cancel, kAnswerCancel}};
    case kYesNo: return {{QMessageBox::Yes, kAnswerYes}, {QMessageBox::No, kAnswerNo}};
    case kRetryCancel: return {{QMessageBox::Retry, kAnswerRetry}, {QMessageBox::Cancel, kAnswerCancel}};
    default: return {{QMessageBox::Ok, kAnswerOk}};
    }
}

QMessageBox::Icon iconFor(int style) {
    switch (style & 0x70) {
    case kCriticalIcon: return QMessageBox::Critical;
    case kQuestionIcon: return QMessageBox::Question;
    case kExclamationIcon: return QMessageBox::Warning;
    case kInformationIcon: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// A text this long, or holding a word this long, goes into a box of its own that wraps
// anywhere and scrolls, so the question never outgrows the screen.
constexpr qsizetype kLongText = 400;
constexpr qsizetype kLongWord = 80;

bool isLongText(const QString& text) {
    if (text.size() > kLongText) return true;
    qsizetype word = 0;
    for (const QChar c : text) {
        word = c.isSpace() ? 0 : word + 1;
        if (word > kLongWord) return true;
    }
    return false;
}

QStyle::StandardPixmap pixmapFor(QMessageBox::Icon icon) {
    switch (icon) {
    case QMessageBox::Critical: return QStyle::SP_MessageBoxCritical;
    case QMessageBox::Question: return QStyle::SP_MessageBoxQuestion;
    case QMessageBox::Warning: return QStyle::SP_MessageBoxWarning;
    default: return QStyle::SP_MessageBoxInformation;
    }
}

}  // namespace

int showMessageBox(const MsgBoxCall& call) {
    const QString& text = call.text;
    const int style = call.style;
    // A box without a title of its own carries the program's.
    const QString title = call.title.isEmpty() ? kDefaultMsgBoxTitle : call.title;

    QWidget* parent = QApplication::activeModalWidget();
    if (!parent) parent = QApplication::activeWindow();
    QDialog box(parent);
    box.setObjectName(QStringLiteral("MsgBox"));
    box.setWindowTitle(title);
    // Texts are read left to right, whatever their first letters are.
    box.setLayoutDirection(Qt::LeftToRight);
    const QRect screen = (parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen())
                             ->availableGeometry();
    auto* layout = new QVBoxLayout(&box);
    auto* row = new QHBoxLayout;
    layout->addLayout(row, 1);
    const QMessageBox::Icon icon = iconFor(style);
    if (icon != QMessageBox::NoIcon) {
        auto* picture = new QLabel(&box);
        const int size = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
        picture->setPixmap(box.style()->standardIcon(pixmapFor(icon), nullptr, &box).pixmap(size, size));
        picture->setAlignment(Qt::AlignTop);
        row->addWidget(picture);
    }
    // Messages are plain text: a "<HEAD>" in one is shown, not taken for markup. A text that
    // would outgrow the screen as laid out (long, or of many lines) scrolls in a box of its own.
    QWidget* body = nullptr;
    if (!isLongText(text)) {
        auto* label = new QLabel(text, &box);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        const int width = std::min(label->sizeHint().width(), screen.width() * 3 / 4);
        if (label->heightForWidth(width) <= screen.height() / 2) body = label;
        else delete label;
    }
    if (!body) {
        auto* edit = new QPlainTextEdit(text, &box);
        edit->setReadOnly(true);
        QTextOption option = edit->document()->defaultTextOption();
        option.setTextDirection(Qt::LeftToRight);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        edit->document()->setDefaultTextOption(option);
        edit->setMinimumWidth(std::min(520, screen.width() * 3 / 4));
        edit->setMaximumHeight(screen.height() / 2);
        body = edit;
    }
    body->setObjectName(QStringLiteral("MsgBoxText"));
    row->addWidget(body, 1);
    auto* buttons = new QDialogButtonBox(&box);
    layout->addWidget(buttons);
    const auto choices = buttonsFor(style);
    int answer = choices.size() == 1 ? kAnswerOk : (style & 7) == kYesNo ? kAnswerNo : kAnswerCancel;  // closed: the way out
    const int defaultIndex = std::min<int>((style & kThirdButtonDefault) ? 2 : (style & kSecondButtonDefault) ? 1 : 0,
                                           int(choices.size()) - 1);
    for (int i = 0; i < choices.size(); ++i) {
        QPushButton* button = buttons->addButton(QDialogButtonBox::StandardButton(int(choices[i].button)));
        const int code = choices[i].answer;
        QObject::connect(button, &QPushButton::clicked, &box, [&box, &answer, code] {
            answer = code;
            box.accept();
        });
        if (i == defaultIndex) {
            button->setDefault(true);
            button->setFocus();
        }
    }
    // Wide enough for its title, never wider or taller than the screen.
    const int titleWidth = box.fontMetrics().horizontalAdvance(title) + 160;
    box.setMinimumWidth(std::min(std::max(320, titleWidth), screen.width() * 9 / 10));
    box.setMaximumSize(screen.width() * 9 / 10, screen.height() * 9 / 10);
    centreOverOwner(box);
    box.exec();
    return answer;
}

}  // namespace platform
