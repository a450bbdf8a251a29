// The clipboard as plain text, through Qt's clipboard on the window thread.

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "ui/application.h"
#include "ui/qt_text.h"
#include "ui/window_layer.h"

namespace smsdock {

void PutClipboardAnsiText(const Bytes& block) {
    // The text ends at the first zero byte, as a reader of the block would end it.
    const Text text(std::string_view(reinterpret_cast<const char*>(block.data()), block.size()));
    Application::Instance().Call(0, [&] {
        if (QClipboard* clipboard = QGuiApplication::clipboard())
            clipboard->setText(ToQString(text));
        return 0;
    });
}

Bytes ClipboardUnicodeText() {
    return Application::Instance().Call(Bytes(), []() -> Bytes {
        QClipboard* clipboard = QGuiApplication::clipboard();
        const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
        if (!data || !data->hasText()) return {};
        const QString text = data->text();
        const auto* units = reinterpret_cast<const std::uint8_t*>(text.utf16());
        Bytes block(units, units + static_cast<std::size_t>(text.size()) * 2);
        block.insert(block.end(), {0, 0});
        return block;
    });
}

}  // namespace smsdock
