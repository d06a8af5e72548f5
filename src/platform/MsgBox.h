#pragma once
#include <QString>

#include <functional>

// The program's message box. Button sets and answers are plain numbers, so handlers
// compare answers directly (6 Yes, 7 No, 2 Cancel).
namespace platform {

enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

inline const QString kDefaultMsgBoxTitle = QStringLiteral("Quorvantile");

int MsgBox(const QString& text, int style = vbOKOnly, const QString& title = kDefaultMsgBoxTitle);

struct MsgBoxCall {
    QString text;
    int style = vbOKOnly;
    QString title;
};

// Answers message boxes instead of showing them (tests). An empty responder restores
// the real boxes.
using MsgBoxResponder = std::function<int(const MsgBoxCall&)>;
void setMsgBoxResponder(MsgBoxResponder responder);

}  // namespace platform
