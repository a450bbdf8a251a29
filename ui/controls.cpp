#include "ui/controls.h"

#include <QFile>
#include <QFontInfo>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTextLayout>
#include <cmath>

#include "ui/qt_text.h"
#include "ui/window_layer.h"

namespace smsdock {

namespace {

QColor ToQColor(Colour colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

// The control's font: the parent's, at the described character height and weight.
QFont ControlFont(const ControlDescription& description, const QWidget* parent) {
    QFont font = parent ? parent->font() : QFont();
    if (description.fontHeight > 0) font.setPixelSize(description.fontHeight);
    font.setBold(description.bold);
    return font;
}

void Place(QWidget* widget, const ControlDescription& description) {
    widget->setObjectName(QString::fromUtf8(description.name));
    widget->setFont(ControlFont(description, widget->parentWidget()));
    widget->setGeometry(description.left, description.top, description.width, description.height);
    widget->setVisible(description.visible);
}

void SetForeground(QWidget* widget, Colour colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, ToQColor(colour));
    palette.setColor(QPalette::Text, ToQColor(colour));
    palette.setColor(QPalette::ButtonText, ToQColor(colour));
    widget->setPalette(palette);
}

// Captions of buttons and group boxes would otherwise turn "&" into a shortcut mark.
QString WithoutShortcuts(const Text& text) {
    return ToQString(text).replace('&', "&&");
}

EventArgs PointerArgs(const QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const Qt::KeyboardModifiers keys = event->modifiers();
    return {at.x(), at.y(), keys.testFlag(Qt::ControlModifier), keys.testFlag(Qt::ShiftModifier),
            keys.testFlag(Qt::AltModifier)};
}

// Every kind of line break becomes one forced break of the text layout.
QString ShownForm(const Text& text) {
    QString shown = ToQString(text);
    shown.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    shown.replace(QChar('\r'), QChar::LineSeparator);
    shown.replace(QChar('\n'), QChar::LineSeparator);
    return shown;
}

Text FromUtf8(const std::string& utf8) {
    return ToText(QString::fromUtf8(utf8));
}

bool LoadBuiltInPicture(const std::string& path, Bytes& picture) {
    QFile file(QString::fromUtf8(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray data = file.readAll();
    picture.assign(data.begin(), data.end());
    return QImage::fromData(data).isNull() == false;
}

}  // namespace

void Control::Raise(Event event, const EventArgs& args) const {
    const auto found = handlers_.find(event);
    if (found == handlers_.end() || !found->second) return;
    const EventHandler handler = found->second;  // the handler may destroy this control
    handler(args);
}

int LinePitch(const QFont& font) {
    return QFontInfo(font).pixelSize() + 2;
}

// ---- TextLabel ------------------------------------------------------------------------------

TextLabel::TextLabel(const ControlDescription& description, QWidget* parent)
    : QWidget(parent), Control(description.kind) {
    Place(this, description);
    const bool link = description.kind == ControlKind::HyperlinkLabel;
    colour_ = description.textColour.value_or(link ? Rgb(0, 0, 255) : Rgb(0, 0, 0));
    linkTarget_ = FromUtf8(description.linkTarget);
    if (link) {
        QFont underlined = font();
        underlined.setUnderline(true);
        setFont(underlined);
        setCursor(Qt::PointingHandCursor);
    }
    // A transparent label lets whatever lies below show through; a plain label paints the
    // window's background behind its text.
    setAutoFillBackground(description.kind == ControlKind::Label);
    SetCaption(FromUtf8(description.text));
}

void TextLabel::SetCaption(const Text& text) {
    caption_ = text;
    shown_ = ShownForm(text);
    update();
}

void TextLabel::SetTextColour(Colour colour) {
    colour_ = colour & 0xFFFFFF;
    update();
}

void TextLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(ToQColor(colour_));
    const QFont& shownFont = font();
    const int pitch = LinePitch(shownFont);
    const int pixels = QFontInfo(shownFont).pixelSize();

    QTextLayout layout(shown_, shownFont, this);
    // A label tall enough for several lines wraps its text at its width; a one-line label cuts
    // it off instead of pushing the rest onto a line it cannot show.
    QTextOption option;
    option.setWrapMode(height() >= 2 * pitch ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                             : QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    int top = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width());
        // The baseline sits where a character of the font's height, one pixel below the line's
        // top, ends; the font's own ascent and descent do not widen the pitch.
        const double baseline = top + 1 + std::round(pixels * 0.88);
        line.setPosition(QPointF(0, baseline - line.ascent()));
        top += pitch;
    }
    layout.endLayout();
    // Text that fits is centred vertically; text taller than the label starts at its top.
    const int offset = top < height() ? (height() - top) / 2 : 0;
    layout.draw(&painter, QPointF(0, offset));
}

void TextLabel::mousePressEvent(QMouseEvent* event) {
    if (Kind() == ControlKind::HyperlinkLabel && event->button() == Qt::LeftButton) {
        OpenUrl(linkTarget_);
        return;
    }
    QWidget::mousePressEvent(event);
}

// ---- Buttons and group box ------------------------------------------------------------------

Button::Button(const ControlDescription& description, QWidget* parent)
    : QPushButton(parent), Control(description.kind) {
    Place(this, description);
    if (description.textColour) SetForeground(this, *description.textColour);
    SetCaption(FromUtf8(description.text));
    connect(this, &QPushButton::clicked, this, [this] { Raise(Event::Clicked); });
}

void Button::SetCaption(const Text& text) {
    caption_ = text;
    setText(WithoutShortcuts(text));
}

RadioButton::RadioButton(const ControlDescription& description, QWidget* parent)
    : QRadioButton(parent), Control(description.kind) {
    Place(this, description);
    if (description.textColour) SetForeground(this, *description.textColour);
    SetCaption(FromUtf8(description.text));
    setChecked(description.checked);
    // Every click counts, also one on the button that is already checked.
    connect(this, &QRadioButton::clicked, this, [this] { Raise(Event::Clicked); });
}

void RadioButton::SetCaption(const Text& text) {
    caption_ = text;
    setText(WithoutShortcuts(text));
}

GroupBox::GroupBox(const ControlDescription& description, QWidget* parent)
    : QGroupBox(parent), Control(description.kind) {
    Place(this, description);
    if (description.textColour) SetForeground(this, *description.textColour);
    SetCaption(FromUtf8(description.text));
}

void GroupBox::SetCaption(const Text& text) {
    caption_ = text;
    setTitle(WithoutShortcuts(text));
}

// ---- ComboBox -------------------------------------------------------------------------------

namespace {
constexpr int kValueRole = Qt::UserRole;
constexpr int kTextRole = Qt::UserRole + 1;
}  // namespace

ComboBox::ComboBox(const ControlDescription& description, QWidget* parent)
    : QComboBox(parent), Control(description.kind) {
    Place(this, description);
    setEditable(false);
    setInsertPolicy(QComboBox::InsertAtBottom);
    // The described height includes the dropped list; the closed box keeps the height its font
    // asks for.
    setGeometry(description.left, description.top, description.width, sizeHint().height());
    if (description.textColour) SetForeground(this, *description.textColour);
}

void ComboBox::SetCurrentSelection(int index) {
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

void ComboBox::ClearItems() {
    clear();
}

void ComboBox::AddItem(const Text& text, int value) {
    const bool noSelection = currentIndex() < 0;
    addItem(ToQString(text), value);
    setItemData(count() - 1, QByteArray(text.c_str(), text.size()), kTextRole);
    // Qt selects the first item added to an empty box; the page selector must not.
    if (noSelection) setCurrentIndex(-1);
}

Text ComboBox::ItemText(int index) const {
    if (index < 0 || index >= count()) return {};
    return Text(itemData(index, kTextRole).toByteArray().toStdString());
}

int ComboBox::ItemValue(int index) const {
    if (index < 0 || index >= count()) return -1;
    return itemData(index, kValueRole).toInt();
}

// ---- ListModel and ListView -----------------------------------------------------------------

ListModel::ListModel(std::vector<ListColumn> columns, QObject* parent)
    : QAbstractTableModel(parent) {
    for (const ListColumn& column : columns)
        titles_.push_back(QString::fromUtf8(column.title));
}

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())]
        .shown;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columnCount())
        return {};
    return titles_[static_cast<std::size_t>(section)];
}

void ListModel::Clear() {
    if (rows_.empty()) return;
    beginResetModel();
    rows_.clear();
    endResetModel();
}

int ListModel::AppendRow() {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    rows_.emplace_back(titles_.size());
    endInsertRows();
    return row;
}

void ListModel::SetCell(int row, int column, const Text& text) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return;
    Entry& cell = rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    cell.text = text;
    cell.shown = ToQString(text);
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

Text ListModel::Cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return {};
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)].text;
}

ListView::ListView(const ControlDescription& description, QWidget* parent)
    : QTableView(parent),
      Control(description.kind),
      model_(new ListModel(description.columns, this)) {
    Place(this, description);
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(LinePitch(font()) + 4);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setMinimumSectionSize(8);  // the style's minimum exceeds 36
    for (std::size_t column = 0; column < description.columns.size(); ++column)
        setColumnWidth(static_cast<int>(column), description.columns[column].width);

    colour_ = description.textColour.value_or(Rgb(0, 0, 0));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, ToQColor(colour_));
    palette.setColor(QPalette::Base, ToQColor(description.backColour.value_or(Rgb(255, 255, 255))));
    setPalette(palette);
}

int ListView::SelectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    int first = -1;
    for (const QModelIndex& row : rows)
        if (first < 0 || row.row() < first) first = row.row();
    return first;
}

void ListView::mousePressEvent(QMouseEvent* event) {
    const bool left = event->button() == Qt::LeftButton;
    if (left && !inDoubleClick_) clickArmed_ = true;
    QTableView::mousePressEvent(event);
    if (left && !indexAt(event->position().toPoint()).isValid()) {
        clearSelection();
        setCurrentIndex(QModelIndex());
    }
}

void ListView::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && clickArmed_) {
        clickArmed_ = false;
        Raise(Event::Clicked, PointerArgs(event));
    }
}

void ListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QTableView::mouseDoubleClickEvent(event);
        return;
    }
    clickArmed_ = false;
    const QPointer<ListView> alive(this);
    Raise(Event::DoubleClicked, PointerArgs(event));
    if (!alive) return;
    inDoubleClick_ = true;
    QTableView::mouseDoubleClickEvent(event);
    inDoubleClick_ = false;
}

// ---- PictureBox -----------------------------------------------------------------------------

PictureBox::PictureBox(const ControlDescription& description, QWidget* parent)
    : QWidget(parent), Control(description.kind) {
    Place(this, description);
}

void PictureBox::SetPicture(const Bytes& picture) {
    picture_ = QImage();
    if (!picture.empty()) picture_.loadFromData(picture.data(), static_cast<int>(picture.size()));
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QSize shown = picture_.size();
    if (shown.width() > width() || shown.height() > height())
        shown.scale(size(), Qt::KeepAspectRatio);
    const QRect target((width() - shown.width()) / 2, (height() - shown.height()) / 2,
                       shown.width(), shown.height());
    painter.drawImage(target, picture_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Raise(Event::LeftButtonDown, PointerArgs(event));
        return;
    }
    QWidget::mousePressEvent(event);
}

// ---- Timer ----------------------------------------------------------------------------------

Timer::Timer(const ControlDescription& description, QObject* parent)
    : QTimer(parent), Control(description.kind) {
    setObjectName(QString::fromUtf8(description.name));
    setTimerType(Qt::PreciseTimer);
    connect(this, &QTimer::timeout, this, [this] { Raise(Event::Tick); });
    SetPeriod(description.period);
}

void Timer::SetPeriod(int milliseconds) {
    if (milliseconds < 0) milliseconds = 0;
    if (milliseconds == period_) return;
    stop();
    period_ = milliseconds;
    if (period_ > 0) start(period_);
}

// ---- Factory --------------------------------------------------------------------------------

Control* CreateControl(const ControlDescription& description, QWidget* parent) {
    switch (description.kind) {
        case ControlKind::Label:
        case ControlKind::TransparentLabel:
        case ControlKind::HyperlinkLabel:
            return new TextLabel(description, parent);
        case ControlKind::Button:
            return new Button(description, parent);
        case ControlKind::RadioButton:
            return new RadioButton(description, parent);
        case ControlKind::GroupBox:
            return new GroupBox(description, parent);
        case ControlKind::ComboBox:
            return new ComboBox(description, parent);
        case ControlKind::ListView:
            return new ListView(description, parent);
        case ControlKind::PictureBox: {
            Bytes picture;
            if (!description.picture.empty() && !LoadBuiltInPicture(description.picture, picture))
                return nullptr;
            auto* box = new PictureBox(description, parent);
            box->SetPicture(picture);
            return box;
        }
        case ControlKind::Timer:
            return new Timer(description, parent);
    }
    return nullptr;
}

}  // namespace smsdock
