#pragma once
#include <QString>

#include <functional>

// The program's message box. Button sets and answers are plain numbers, so handlers
// compare answers directly (6 Yes, 7 No, 2 Cancel).
namespace platform {

enum MsgBoxStyle : int {
    kOkOnly = 0,
    kOkCancel = 1,
    kAbortRetryIgnore = 2,
    kYesNoCancel = 3,
    kYesNo = 4,
    kRetryCancel = 5,
    kCriticalIcon = 16,
    kQuestionIcon = 32,
    kExclamationIcon = 48,
    kInformationIcon = 64,
    kSecondButtonDefault = 256,
    kThirdButtonDefault = 512,
};

enum MsgBoxResult : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerAbort = 3, kAnswerRetry = 4, kAnswerIgnore = 5, kAnswerYes = 6, kAnswerNo = 7 };

inline const QString kDefaultMsgBoxTitle = QStringLiteral("Quorvantile");

int MsgBox(const QString& text, int style = kOkOnly, const QString& title = kDefaultMsgBoxTitle);

struct MsgBoxCall {
    QString text;
    int style = kOkOnly;
    QString title;
};

// Answers message boxes instead of showing them (tests). An empty responder restores
// the real boxes.
using MsgBoxResponder = std::function<int(const MsgBoxCall&)>;
void setMsgBoxResponder(MsgBoxResponder responder);

}  // namespace platform
