// Copies and descriptions of what the controls and windows show: a second program built from
// this one's window starts where it stands, and a test can tell that nothing has changed.
#include <sstream>

#include "ui/controls.h"

namespace orvex {
namespace {

// The other control as this one's kind; the copy of another kind takes the common part only.
template <class C>
const C* same(const Control& other) {
  return dynamic_cast<const C*>(&other);
}

std::string joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += item + "|";
  return out;
}

}  // namespace

void Control::copyFrom(const Control& other) {
  visible_ = other.visible_;
  enabled_ = other.enabled_;
  caption_ = other.caption_;
  toolTip_ = other.toolTip_;
  top_ = other.top_;
}

std::string Control::describe() const {
  std::ostringstream out;
  out << name_ << " visible=" << visible_ << " enabled=" << enabled_ << " caption=" << caption_
      << " tip=" << toolTip_ << " top=" << top_;
  return out.str();
}

void Label::copyFrom(const Control& other) {
  Control::copyFrom(other);
  if (const Label* o = same<Label>(other)) {
    back_ = o->back_;
    fore_ = o->fore_;
  }
}

std::string Label::describe() const {
  return Control::describe() + " colours=" + std::to_string(back_.r) + "," +
         std::to_string(back_.g) + "," + std::to_string(back_.b) + "/" + std::to_string(fore_.r) +
         "," + std::to_string(fore_.g) + "," + std::to_string(fore_.b);
}

void OptionButton::copyFrom(const Control& other) {
  Control::copyFrom(other);
  if (const OptionButton* o = same<OptionButton>(other)) value_ = o->value_;
}

std::string OptionButton::describe() const {
  return Control::describe() + " value=" + std::to_string(value_);
}

void CheckBox::copyFrom(const Control& other) {
  Control::copyFrom(other);
  if (const CheckBox* o = same<CheckBox>(other)) value_ = o->value_;
}

std::string CheckBox::describe() const {
  return Control::describe() + " value=" + std::to_string(value_);
}

void TextBox::copyFrom(const Control& other) {
  Control::copyFrom(other);
  if (const TextBox* o = same<TextBox>(other)) {
    text_ = o->text_;
    selStart_ = o->selStart_;
    selLength_ = o->selLength_;
  }
}

std::string TextBox::describe() const {
  return Control::describe() + " text=" + text_ + " sel=" + std::to_string(selStart_) + "+" +
         std::to_string(selLength_);
}

void PictureBox::copyFrom(const Control& other) {
  Control::copyFrom(other);
  if (const PictureBox* o = same<PictureBox>(other)) picture_ = o->picture_;
}

std::string PictureBox::describe() const {
  return Control::describe() + " picture=" + picture_;
}

void TabStrip::copyFrom(const Control& other) {
  Control::copyFrom(other);
  if (const TabStrip* o = same<TabStrip>(other)) {
    tab_ = o->tab_;
    tabCaptions = o->tabCaptions;
  }
}

std::string TabStrip::describe() const {
  return Control::describe() + " tab=" + std::to_string(tab_) + " tabs=" + joined(tabCaptions);
}

void Timer::copyFrom(const Control& other) {
  Control::copyFrom(other);
  if (const Timer* o = same<Timer>(other)) {
    interval_ = o->interval_;
    timerEnabled_ = o->timerEnabled_;
  }
}

std::string Timer::describe() const {
  return Control::describe() + " interval=" + std::to_string(interval_) +
         " timerEnabled=" + std::to_string(timerEnabled_);
}

void ProgressBar::copyFrom(const Control& other) {
  Control::copyFrom(other);
  if (const ProgressBar* o = same<ProgressBar>(other)) {
    value_ = o->value_;
    maximum_ = o->maximum_;
  }
}

std::string ProgressBar::describe() const {
  return Control::describe() + " value=" + std::to_string(value_) + "/" + std::to_string(maximum_);
}

void ListView::copyFrom(const Control& other) {
  Control::copyFrom(other);
  if (const ListView* o = same<ListView>(other)) {
    columns_ = o->columns_;
    rows_ = o->rows_;
    checked_ = o->checked_;
    listIndex_ = o->listIndex_;
    sortable = o->sortable;
    checkable = o->checkable;
  }
}

std::string ListView::describe() const {
  std::string out = Control::describe() + " columns=" + joined(columns_) +
                    " index=" + std::to_string(listIndex_) + " rows=";
  for (size_t r = 0; r < rows_.size(); ++r)
    out += std::string(checkable ? (checked_[r] ? "[x " : "[_ ") : "[") + joined(rows_[r]) + "]";
  return out;
}

void DriveList::copyFrom(const Control& other) {
  Control::copyFrom(other);
  if (const DriveList* o = same<DriveList>(other)) drive_ = o->drive_;
}

std::string DriveList::describe() const {
  return Control::describe() + " drive=" + drive_;
}

void DirList::copyFrom(const Control& other) {
  Control::copyFrom(other);
  if (const DirList* o = same<DirList>(other)) {
    path_ = o->path_;
    listIndex_ = o->listIndex_;
    loaded_ = false;  // read again, through this list's own file system
  }
}

std::string DirList::describe() const {
  return Control::describe() + " path=" + path_ + " index=" + std::to_string(listIndex_);
}

void FileList::copyFrom(const Control& other) {
  Control::copyFrom(other);
  if (const FileList* o = same<FileList>(other)) {
    path_ = o->path_;
    pattern_ = o->pattern_;
    listIndex_ = o->listIndex_;
    loaded_ = false;
  }
}

std::string FileList::describe() const {
  return Control::describe() + " path=" + path_ + " pattern=" + pattern_ +
         " index=" + std::to_string(listIndex_);
}

void Animation::copyFrom(const Control& other) {
  Control::copyFrom(other);
  if (const Animation* o = same<Animation>(other)) file_ = o->file_;
}

std::string Animation::describe() const {
  return Control::describe() + " file=" + file_;
}

void Form::copyFrom(const Form& other) {
  caption_ = other.caption_;
  visible_ = other.visible_;
  left_ = other.left_;
  top_ = other.top_;
  width_ = other.width_;
  height_ = other.height_;
  pointer_ = other.pointer_;
  focus_ = nullptr;
  for (size_t k = 0; k < controls_.size() && k < other.controls_.size(); ++k) {
    controls_[k]->copyFrom(*other.controls_[k]);
    if (other.focus_ == other.controls_[k]) focus_ = controls_[k];
  }
}

std::string Form::describe() const {
  std::ostringstream out;
  out << name_ << " caption=" << caption_ << " visible=" << visible_ << " at=" << left_ << ","
      << top_ << " size=" << width_ << "x" << height_ << " pointer=" << int(pointer_)
      << " focus=" << (focus_ ? focus_->name() : "") << "\n";
  for (const Control* c : controls_) out << c->describe() << "\n";
  return out.str();
}

}  // namespace orvex
