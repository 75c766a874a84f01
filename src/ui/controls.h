// Control models: plain objects that hold what a control shows (caption, visibility, text,
// path ...) and fire their click or change procedure as the window toolkit would. The Qt
// layer draws them and turns real input into calls on them.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace orvex {

class FileSystem;
class Form;

enum class MousePointer { Default, Hourglass };

// RGB colour.
struct Colour {
  int r = 0, g = 0, b = 0;
  bool operator==(const Colour&) const = default;
};
namespace colours {
inline constexpr Colour Red{255, 0, 0};
inline constexpr Colour White{255, 255, 255};
inline constexpr Colour LightGrey{192, 192, 192};
inline constexpr Colour Black{0, 0, 0};
inline constexpr Colour Blue{0, 0, 255};
}  // namespace colours

using Handler = std::function<void()>;

class Control {
 public:
  Control(Form& owner, std::string name);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  const std::string& name() const { return name_; }
  Form& owner() const { return owner_; }

  bool visible() const { return visible_; }
  void setVisible(bool v);
  bool enabled() const { return enabled_; }
  void setEnabled(bool e);
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& c);
  const std::string& toolTip() const { return toolTip_; }
  void setToolTip(const std::string& t);
  // Top edge in twips within the container.
  int top() const { return top_; }
  void setTop(int twips);

  void setFocus();
  bool hasFocus() const;

  // Takes over everything the other control of this name shows, without running any procedure
  // or redraw (a second program built from this one's window).
  virtual void copyFrom(const Control& other);
  // Everything the control shows, as text, to tell whether anything changed.
  virtual std::string describe() const;

  // Called after every change of what the control shows; the Qt layer redraws from it.
  std::function<void()> onUpdate;

 protected:
  void update();

 private:
  Form& owner_;
  std::string name_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  std::string toolTip_;
  int top_ = 0;
};

// Shows or hides several controls at once.
void setVisible(std::initializer_list<Control*> controls, bool visible);

class Button : public Control {
 public:
  using Control::Control;
  // Pressing from the program runs the click procedure at once.
  void click();
  Handler onClick;
};

class Label : public Control {
 public:
  void copyFrom(const Control& other) override;
  std::string describe() const override;
  using Control::Control;
  Colour backColour() const { return back_; }
  Colour foreColour() const { return fore_; }
  void setColours(Colour back, Colour fore);
  // Repaints at once (the copy window shows the file in hand before a blocking copy).
  void refresh();
  std::function<void()> onRefresh;
  Handler onClick;
  Handler onDblClick;

 private:
  Colour back_ = colours::LightGrey;
  Colour fore_ = colours::Black;
};

class Frame : public Control {
 public:
  using Control::Control;
};

class OptionButton;

// The option buttons of one container: selecting one clears the others.
class OptionGroup {
 public:
  void add(OptionButton* o) { members_.push_back(o); }
  const std::vector<OptionButton*>& members() const { return members_; }
  // Puts back the selection from before the last selecting, without running a procedure
  // (for a click that is refused).
  void restorePrevious();

 private:
  friend class OptionButton;
  std::vector<OptionButton*> members_;
  OptionButton* previous_ = nullptr;
};

class OptionButton : public Control {
 public:
  void copyFrom(const Control& other) override;
  std::string describe() const override;
  OptionButton(Form& owner, std::string name, OptionGroup& group);
  bool value() const { return value_; }
  // Selecting runs the click procedure, also when already selected; clearing runs nothing.
  void setValue(bool v);
  OptionGroup& group() const { return group_; }
  Handler onClick;

 private:
  friend class OptionGroup;
  void select(bool v);
  OptionGroup& group_;
  bool value_ = false;
};

class CheckBox : public Control {
 public:
  void copyFrom(const Control& other) override;
  std::string describe() const override;
  using Control::Control;
  int value() const { return value_; }
  // Every change of the value runs the click procedure.
  void setValue(int v);
  Handler onClick;

 private:
  int value_ = 0;
};

class TextBox : public Control {
 public:
  void copyFrom(const Control& other) override;
  std::string describe() const override;
  using Control::Control;
  const std::string& text() const { return text_; }
  // Every change of the text runs the change procedure.
  void setText(const std::string& t);
  int selStart() const { return selStart_; }
  int selLength() const { return selLength_; }
  void setSelStart(int s);
  void setSelLength(int l);
  Handler onChange;

 private:
  std::string text_;
  int selStart_ = 0;
  int selLength_ = 0;
};

class PictureBox : public Control {
 public:
  void copyFrom(const Control& other) override;
  std::string describe() const override;
  using Control::Control;
  // The loaded picture file (a DOS path); empty for the control's own fixed picture.
  const std::string& picture() const { return picture_; }
  void setPicture(const std::string& dosPath);
  Handler onClick;

 private:
  std::string picture_;
};

class TabStrip : public Control {
 public:
  void copyFrom(const Control& other) override;
  std::string describe() const override;
  using Control::Control;
  int tab() const { return tab_; }
  // Every change of the shown tab runs the click procedure.
  void setTab(int t);
  std::vector<std::string> tabCaptions;
  Handler onClick;

 private:
  int tab_ = 0;
};

class Timer : public Control {
 public:
  void copyFrom(const Control& other) override;
  std::string describe() const override;
  using Control::Control;
  int interval() const { return interval_; }
  void setInterval(int ms);
  bool timerEnabled() const { return timerEnabled_; }
  void setTimerEnabled(bool e);
  // True while ticks are due: enabled with an interval above 0.
  bool running() const { return timerEnabled_ && interval_ > 0; }
  void tick();
  Handler onTimer;

 private:
  int interval_ = 0;
  bool timerEnabled_ = true;
};

// Shows how far a longer piece of work has come: value out of maximum. A maximum of 0 shows
// work whose length is not known yet.
class ProgressBar : public Control {
 public:
  void copyFrom(const Control& other) override;
  std::string describe() const override;
  using Control::Control;
  int value() const { return value_; }
  int maximum() const { return maximum_; }
  // The value is kept within 0 and the maximum.
  void setValue(int v);
  void setMaximum(int m);

 private:
  int value_ = 0;
  int maximum_ = 100;
};

// A table of rows under column headings, one row selected or none. Selecting a row (by the user
// or the program) runs the change procedure when the selection actually changes.
class ListView : public Control {
 public:
  void copyFrom(const Control& other) override;
  std::string describe() const override;
  using Control::Control;
  const std::vector<std::string>& columns() const { return columns_; }
  void setColumns(std::vector<std::string> columns);
  const std::vector<std::vector<std::string>>& rows() const { return rows_; }
  // New rows: the selection is cleared (without running the change procedure).
  void setRows(std::vector<std::vector<std::string>> rows);
  int listIndex() const { return listIndex_; }
  void setListIndex(int i);
  // Whether the user may sort the rows by a column (the model keeps its own order).
  bool sortable = false;
  // Whether a row's accessible text names every column with its heading, so that a screen
  // reader on the row hears all of it (a problem in the last column, say).
  bool describeRows = false;
  Handler onChange;
  // With check boxes, a row's box is set by the user or the program; a change of one runs the
  // check procedure. New rows start unchecked.
  bool checkable = false;
  bool checked(int row) const;
  void setChecked(int row, bool on);
  int checkedCount() const;
  Handler onCheck;

 private:
  std::vector<std::string> columns_;
  std::vector<std::vector<std::string>> rows_;
  std::vector<bool> checked_;
  int listIndex_ = -1;
};

// Lists the drives of the drive map; a change of the chosen drive runs the change procedure.
class DriveList : public Control {
 public:
  void copyFrom(const Control& other) override;
  std::string describe() const override;
  DriveList(Form& owner, std::string name, FileSystem& fs);
  // The file system it lists, for another list of the same window.
  FileSystem& fileSystem() const { return fs_; }
  // The chosen drive, "c:".
  const std::string& drive() const { return drive_; }
  void setDrive(const std::string& d);
  // Shows a drive without running the change procedure (keeping the list in step with its
  // directory list).
  void showDrive(const std::string& d);
  std::vector<std::string> drives() const;
  Handler onChange;

 private:
  FileSystem& fs_;
  std::string drive_;
};

// A directory list: its path, and the sub-directories of that path. Setting the path runs
// the change procedure when the path actually changes.
class DirList : public Control {
 public:
  void copyFrom(const Control& other) override;
  std::string describe() const override;
  DirList(Form& owner, std::string name, FileSystem& fs);
  const std::string& path() const { return path_; }
  // Throws FileError 76 when the directory does not exist; the path then stays as it was.
  void setPath(const std::string& p);
  int listCount();
  // Full path of sub-directory i (from 0).
  std::string list(int i);
  int listIndex() const { return listIndex_; }
  void setListIndex(int i);
  Handler onChange;

 private:
  void load();
  FileSystem& fs_;
  std::string path_;
  std::vector<std::string> dirs_;
  bool loaded_ = false;
  int listIndex_ = -1;
};

// A file list: the files of its path matching its pattern list. The list is read on first
// use after the path or pattern changed, or after refresh().
class FileList : public Control {
 public:
  void copyFrom(const Control& other) override;
  std::string describe() const override;
  FileList(Form& owner, std::string name, FileSystem& fs);
  const std::string& path() const { return path_; }
  void setPath(const std::string& p);
  const std::string& pattern() const { return pattern_; }
  void setPattern(const std::string& p);
  void refresh();
  int listCount();
  const std::string& list(int i);
  int listIndex() const { return listIndex_; }
  void setListIndex(int i);

 private:
  void load();
  FileSystem& fs_;
  std::string path_;
  std::string pattern_ = "*.*";
  std::vector<std::string> files_;
  bool loaded_ = false;
  int listIndex_ = -1;
};

// Plays an animation file while its window is shown.
class Animation : public Control {
 public:
  void copyFrom(const Control& other) override;
  std::string describe() const override;
  using Control::Control;
  const std::string& file() const { return file_; }
  void setFile(const std::string& dosPath);

 private:
  std::string file_;
};

// A window: caption, position and size in twips, mouse pointer, shown or hidden.
class Form {
 public:
  explicit Form(std::string name);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form() = default;

  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& c);
  bool visible() const { return visible_; }
  void show();
  void hide();
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void move(int left, int top);
  void setSize(int width, int height);
  MousePointer mousePointer() const { return pointer_; }
  void setMousePointer(MousePointer p);

  const Control* focus() const { return focus_; }
  void setFocusTo(const Control* c);

  // The controls of the window, in the order they were made.
  const std::vector<Control*>& controls() const { return controls_; }
  // Takes over what the other window of this kind shows, every control included, without
  // running any procedure or redraw.
  void copyFrom(const Form& other);
  // Everything the window and its controls show, as text.
  std::string describe() const;

  std::function<void()> onUpdate;
  // Called after the focus moved to another control.
  std::function<void()> onFocus;

 private:
  void update();
  std::string name_;
  std::string caption_;
  bool visible_ = false;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  MousePointer pointer_ = MousePointer::Default;
  const Control* focus_ = nullptr;
  std::vector<Control*> controls_;
  friend class Control;
};

}  // namespace orvex
