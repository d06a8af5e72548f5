#pragma once
#include <QString>

// The program's message box: its button sets and answers are plain numbers, so handlers
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

// One box as the program puts it to the user: its text, its buttons and icon, its title.
struct MsgBoxCall {
    QString text;
    int style = kOkOnly;
    QString title;
};

}  // namespace platform
