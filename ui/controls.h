#pragma once

// The Qt widgets behind the control kinds, each behaving the way the handlers expect a control
// of that kind to behave. Internal to the window layer; everything here runs on the window
// thread.

#include <QAbstractTableModel>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QWidget>
#include <array>
#include <map>
#include <vector>

#include "text/text.h"
#include "ui/window_description.h"

namespace smsdock {

// What every control offers. A kind overrides the properties and operations it has; the others
// keep the defaults below, so writes do nothing and reads give the empty value.
class Control {
  public:
    explicit Control(ControlKind kind) : kind_(kind) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind Kind() const { return kind_; }
    // The widget that shows the control; none for a timer.
    virtual QWidget* Widget() { return nullptr; }

    virtual Text Caption() const { return {}; }
    virtual void SetCaption(const Text&) {}
    virtual Colour TextColour() const { return 0; }
    virtual void SetTextColour(Colour) {}
    virtual void SetPicture(const Bytes&) {}
    virtual int Period() const { return 0; }
    virtual void SetPeriod(int) {}
    virtual bool Checked() const { return false; }
    virtual int CurrentSelection() const { return -1; }
    virtual void SetCurrentSelection(int) {}
    virtual int SelectedRow() const { return -1; }

    virtual void DeleteAllRows() {}
    virtual int InsertRow() { return -1; }
    virtual void SetCellText(int, int, const Text&) {}
    virtual Text CellText(int, int) const { return {}; }
    virtual void ClearItems() {}
    virtual void AddItem(const Text&, int) {}
    virtual Text ItemText(int) const { return {}; }
    virtual int ItemValue(int) const { return -1; }

    // Whether controls of this kind raise the event at all.
    virtual bool Raises(Event) const { return false; }
    void SetHandler(Event event, EventHandler handler) { handlers_[event] = std::move(handler); }

  protected:
    // Runs the handler bound to the event, if any. The handler may destroy the control, so
    // nothing of the control is touched after it ran.
    void Raise(Event event, const EventArgs& args = {}) const;

  private:
    ControlKind kind_;
    std::map<Event, EventHandler> handlers_;
};

// Creates the widget or timer of a control as a child of `parent`. Null for a description it
// cannot build (a built-in picture that cannot be read, for instance).
Control* CreateControl(const ControlDescription& description, QWidget* parent);

// The pixel pitch between two lines of label text: the character height and a little leading,
// the same whatever the font's own line spacing is.
int LinePitch(const QFont& font);

// Labels, transparent labels and the hyperlink label. The caption is always plain text; lines
// break at CR LF, CR or LF, and wrap at the control's width when it has room for two lines.
class TextLabel : public QWidget, public Control {
  public:
    TextLabel(const ControlDescription& description, QWidget* parent);

    QWidget* Widget() override { return this; }
    Text Caption() const override { return caption_; }
    void SetCaption(const Text& text) override;
    Colour TextColour() const override { return colour_; }
    void SetTextColour(Colour colour) override;
    // The text as drawn, line breaks as U+2028.
    const QString& ShownText() const { return shown_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    Text caption_;
    QString shown_;
    Colour colour_ = 0;
    Text linkTarget_;
};

class Button : public QPushButton, public Control {
  public:
    Button(const ControlDescription& description, QWidget* parent);
    QWidget* Widget() override { return this; }
    Text Caption() const override { return caption_; }
    void SetCaption(const Text& text) override;
    bool Raises(Event event) const override { return event == Event::Clicked; }

  private:
    Text caption_;
};

// Radio buttons that share a parent form one group (Qt's auto-exclusive buttons).
class RadioButton : public QRadioButton, public Control {
  public:
    RadioButton(const ControlDescription& description, QWidget* parent);
    QWidget* Widget() override { return this; }
    Text Caption() const override { return caption_; }
    void SetCaption(const Text& text) override;
    bool Checked() const override { return isChecked(); }
    bool Raises(Event event) const override { return event == Event::Clicked; }

  private:
    Text caption_;
};

class GroupBox : public QGroupBox, public Control {
  public:
    GroupBox(const ControlDescription& description, QWidget* parent);
    QWidget* Widget() override { return this; }
    Text Caption() const override { return caption_; }
    void SetCaption(const Text& text) override;

  private:
    Text caption_;
};

// A drop-down list: not editable, items in insertion order, each with an integer value. Adding
// items never selects one.
class ComboBox : public QComboBox, public Control {
  public:
    ComboBox(const ControlDescription& description, QWidget* parent);
    QWidget* Widget() override { return this; }
    int CurrentSelection() const override { return currentIndex(); }
    void SetCurrentSelection(int index) override;
    void ClearItems() override;
    void AddItem(const Text& text, int value) override;
    Text ItemText(int index) const override;
    int ItemValue(int index) const override;
};

// The rows behind a list view: the texts exactly as written, plus the form that is shown.
class ListModel : public QAbstractTableModel {
  public:
    ListModel(std::vector<ListColumn> columns, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void Clear();
    int AppendRow();
    void SetCell(int row, int column, const Text& text);
    Text Cell(int row, int column) const;

  private:
    struct Entry {
        Text text;
        QString shown;
    };
    std::vector<QString> titles_;
    std::vector<std::vector<Entry>> rows_;
};

// A report-style list. Clicked comes for a left click anywhere in the list, after the release
// and after the selection moved (a click on the empty area clears the selection first);
// DoubleClicked comes on the second press of a double click, before the list handles it, and
// that press's release raises nothing. Keyboard selection and right clicks raise nothing.
class ListView : public QTableView, public Control {
  public:
    ListView(const ControlDescription& description, QWidget* parent);

    QWidget* Widget() override { return this; }
    Colour TextColour() const override { return colour_; }
    int SelectedRow() const override;
    void DeleteAllRows() override { model_->Clear(); }
    int InsertRow() override { return model_->AppendRow(); }
    void SetCellText(int row, int column, const Text& text) override {
        model_->SetCell(row, column, text);
    }
    Text CellText(int row, int column) const override { return model_->Cell(row, column); }
    bool Raises(Event event) const override {
        return event == Event::Clicked || event == Event::DoubleClicked;
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    ListModel* model_;
    Colour colour_ = 0;
    bool clickArmed_ = false;     // a single left press is down
    bool inDoubleClick_ = false;  // the list is handling the second press of a double click
};

// Shows a picture scaled down to fit, never enlarged, centred.
class PictureBox : public QWidget, public Control {
  public:
    PictureBox(const ControlDescription& description, QWidget* parent);
    QWidget* Widget() override { return this; }
    void SetPicture(const Bytes& picture) override;
    bool Raises(Event event) const override { return event == Event::LeftButtonDown; }
    const QImage& Picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QImage picture_;
};

class Timer : public QTimer, public Control {
  public:
    Timer(const ControlDescription& description, QObject* parent);
    int Period() const override { return period_; }
    void SetPeriod(int milliseconds) override;
    bool Raises(Event event) const override { return event == Event::Tick; }

  private:
    int period_ = 0;
};

}  // namespace smsdock
