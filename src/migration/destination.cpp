// The destination caption and the cut option.
#include "migration/destination.h"

#include <atomic>

#include "migration/handlers.h"
#include "ui/window_ops.h"

const char* const kDestinationPrompt = "双击此处选择存储位置";

namespace {

// Odd while the cut confirmation is open. The box already shows its tick then,
// but a running migration must not move files on a tick not yet confirmed.
std::atomic<unsigned> cutQuestionTurn{0};

}  // namespace

void OnDestinationDoubleClicked() {
    const Text folder = PickFolder("选择要报文视频的文件位置");
    // A cancelled picker keeps the destination: "\" alone would aim the next
    // migration at the root of the drive.
    if (folder.empty()) return;
    SetDestinationCaption(folder + "\\");
}

void OnCutOptionClicked() {
    if (!IsCutOptionTicked()) return;
    ++cutQuestionTurn;
    const MessageResult answer = ShowMessage(
        "选中此选项则直接剪切微信PC端的视频，剪切后将导致微信PC端中无法播放之前接收的视频，是否确认？",
        ButtonSet::OkCancel, "确认操作");
    SetCutOptionTicked(answer != MessageResult::Cancel);
    ++cutQuestionTurn;
}

bool IsCutConfirmed() {
    // The tick is read on the window's thread between its messages, so the two
    // turns bracket it: equal and even means no question was open meanwhile.
    const unsigned before = cutQuestionTurn;
    const bool ticked = IsCutOptionTicked();
    const unsigned after = cutQuestionTurn;
    return ticked && before == after && before % 2 == 0;
}
