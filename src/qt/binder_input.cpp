// Binding of option buttons, check boxes and text boxes: values both ways.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <memory>

#include "qt/binder.h"
#include "qt/qt_text.h"

namespace orvex {
namespace {

// An option group may have no option selected, which Qt's exclusive groups do not allow.
void setRadioChecked(QRadioButton* w, bool checked) {
  if (w->isChecked() == checked) return;
  const QSignalBlocker block(w);
  QButtonGroup* group = w->group();
  if (!checked && group) group->setExclusive(false);
  w->setChecked(checked);
  if (!checked && group) group->setExclusive(true);
}

// Where the caret and selection are, in the model's terms.
void readSelection(const QLineEdit* w, int& start, int& length) {
  length = int(w->selectionLength());
  start = length > 0 ? int(w->selectionStart()) : int(w->cursorPosition());
}

}  // namespace

void Binder::option(OptionButton& m, QRadioButton* w, OptionGroup& group) {
  QButtonGroup*& buttons = groups_[&group];
  if (!buttons) buttons = new QButtonGroup(window_);
  buttons->addButton(w);
  // A choice reaches the model however it was made: a click, the arrow keys or the space bar
  // (each a click), or a screen reader's toggle action, which checks the button without a
  // click. Every change of the choice passes through toggled, so that is where the click
  // procedure runs; a click on the option already chosen changes nothing in Qt and runs it
  // from clicked. pressed starts every click, so it tells the two apart.
  auto toggledSincePress = std::make_shared<bool>(false);
  auto choose = [this, &m, &group] {
    m.setValue(true);
    // The procedure may have refused or changed the choice; show the model's.
    syncGroup(group);
  };
  QObject::connect(w, &QAbstractButton::pressed, w,
                   [toggledSincePress] { *toggledSincePress = false; });
  QObject::connect(w, &QAbstractButton::toggled, w, [toggledSincePress, choose](bool checked) {
    if (!checked) return;  // the option chosen in its place runs the procedure
    *toggledSincePress = true;
    choose();
  });
  QObject::connect(w, &QAbstractButton::clicked, w, [toggledSincePress, choose] {
    if (!*toggledSincePress) choose();
  });
  bind(m, w, {}, [&m, w] {
    w->setText(plainCaption(m.caption()));
    setRadioChecked(w, m.value());
  });
}

void Binder::syncGroup(OptionGroup& group) {
  for (OptionButton* member : group.members())
    if (auto* w = qobject_cast<QRadioButton*>(widgetFor(*member)))
      setRadioChecked(w, member->value());
}

void Binder::checkBox(CheckBox& m, QCheckBox* w) {
  // toggled, not clicked: a screen reader's toggle action changes the box without a click.
  QObject::connect(w, &QCheckBox::toggled, w, [&m, w](bool checked) {
    m.setValue(checked ? 1 : 0);
    const QSignalBlocker block(w);
    w->setChecked(m.value() != 0);
  });
  bind(m, w, {}, [&m, w] {
    w->setText(plainCaption(m.caption()));
    const QSignalBlocker block(w);
    w->setChecked(m.value() != 0);
  });
}

void Binder::textBox(TextBox& m, QLineEdit* w, const QString& description) {
  // While the user's own edit or caret move is handed to the model, the model's echo must
  // not move the caret the user is typing at.
  auto userEdit = std::make_shared<bool>(false);

  QObject::connect(w, &QLineEdit::textEdited, w, [&m, w, userEdit](const QString& text) {
    int start = 0, length = 0;
    readSelection(w, start, length);
    const std::string typed = fromQt(text);
    *userEdit = true;
    m.setText(typed);
    *userEdit = false;
    if (m.text() == typed) {
      *userEdit = true;
      m.setSelStart(start);
      m.setSelLength(length);
      *userEdit = false;
    } else if (m.onUpdate) {
      m.onUpdate();  // the change procedure rewrote the text: show it, caret and all
    }
  });
  auto pushSelection = [&m, w, userEdit] {
    if (*userEdit) return;
    int start = 0, length = 0;
    readSelection(w, start, length);
    if (start == m.selStart() && length == m.selLength()) return;
    *userEdit = true;
    m.setSelStart(start);
    m.setSelLength(length);
    *userEdit = false;
  };
  QObject::connect(w, &QLineEdit::cursorPositionChanged, w, pushSelection);
  QObject::connect(w, &QLineEdit::selectionChanged, w, pushSelection);

  bind(m, w, description, [&m, w, userEdit] {
    const QString text = toQt(m.text());
    const QSignalBlocker block(w);
    if (w->text() != text) w->setText(text);
    if (*userEdit) return;
    if (m.selLength() > 0)
      w->setSelection(m.selStart(), m.selLength());
    else
      w->setCursorPosition(m.selStart());
  });
}

}  // namespace orvex
