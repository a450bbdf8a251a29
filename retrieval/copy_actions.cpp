#include "retrieval/copy_actions.h"

#include "app/state/window_names.h"
#include "retrieval/clipboard.h"
#include "retrieval/gbk_text.h"
#include "ui/window_layer.h"

namespace smsdock {

void CopySelectedNumber() {
    const int row = SelectedRow(kMainWindow, "超级列表框1");
    // The number cell with its spaces; empty when no row is selected.
    SetClipboardText(GetCellText(kMainWindow, "超级列表框1", row, 1));
    // The confirmation shows what the clipboard reads back, not what was written.
    const Text readBack = GetClipboardText();
    SetCaption(kMainWindow, "标签2", GbkText("所选号码") + readBack + GbkText("已复制"));
}

void CopySelectedMessage() {
    const int row = SelectedRow(kMainWindow, "超级列表框2");
    SetClipboardText(GetCellText(kMainWindow, "超级列表框2", row, 1));
    SetCaption(kMainWindow, "标签2", GbkText("当前短信内容已成功复制"));
}

}  // namespace smsdock
