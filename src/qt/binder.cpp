// Binding of the form, the common control state, buttons, labels, frames, pictures, timers, tabs.
#include "qt/binder.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QGroupBox>
#include <QProgressBar>
#include <QTabWidget>
#include <QTimer>
#include <exception>
#include <memory>

#include "platform/file_system.h"
#include "qt/clickable_label.h"
#include "qt/picture_view.h"
#include "qt/qt_text.h"
#include "qt/twips.h"

namespace orvex {
namespace {

QColor qtColour(Colour c) {
  return QColor(c.r, c.g, c.b);
}

}  // namespace

Binder::Binder(Form& form, QWidget* window) : form_(form), window_(window) {
  window_->setObjectName(QString::fromStdString(form.name()));
  form_.onUpdate = [this] { applyForm(); };
  form_.onFocus = [this] {
    if (QWidget* w = form_.focus() ? widgetFor(*form_.focus()) : nullptr)
      w->setFocus(Qt::OtherFocusReason);
  };
  applyForm();
}

Binder::~Binder() {
  form_.onUpdate = nullptr;
  form_.onFocus = nullptr;
  for (Control* m : bound_) {
    m->onUpdate = nullptr;
    if (auto* label = dynamic_cast<Label*>(m)) label->onRefresh = nullptr;
  }
}

void Binder::applyForm() {
  window_->setWindowTitle(toQt(form_.caption()));
  window_->setAccessibleName(toQt(form_.caption()));
  // Only a change of the model moves or sizes the window, so the user may move it freely.
  if (form_.width() > 0 && form_.height() > 0 &&
      (form_.width() != shownWidth_ || form_.height() != shownHeight_)) {
    shownWidth_ = form_.width();
    shownHeight_ = form_.height();
    window_->setFixedSize(twipsToPixels(shownWidth_), twipsToPixels(shownHeight_));
  }
  if (form_.left() != shownLeft_ || form_.top() != shownTop_) {
    shownLeft_ = form_.left();
    shownTop_ = form_.top();
    window_->move(twipsToPixels(shownLeft_), twipsToPixels(shownTop_));
  }
  if (form_.mousePointer() == MousePointer::Hourglass)
    window_->setCursor(Qt::WaitCursor);
  else
    window_->unsetCursor();
  if (form_.visible() && !window_->isVisible()) {
    window_->show();
  } else if (!form_.visible() && window_->isVisible()) {
    window_->hide();
  }
}

void Binder::bind(Control& m, QWidget* w, const QString& description, std::function<void()> apply) {
  w->setObjectName(QString::fromStdString(m.name()));
  widgets_[&m] = w;
  bound_.push_back(&m);
  m.onUpdate = [this, &m, w, description, apply = std::move(apply)] {
    applyCommon(m, w, description);
    if (apply) apply();
  };
  m.onUpdate();
}

void Binder::applyCommon(const Control& m, QWidget* w, const QString& description) {
  w->setVisible(m.visible());
  w->setEnabled(m.enabled());
  // Set only when changed: setting it sends an event even when it is the same.
  if (const QString tip = toQt(m.toolTip()); tip != w->toolTip()) w->setToolTip(tip);
  w->setAccessibleName(m.caption().empty() ? description : toQt(m.caption()));
  if (followTop_.count(&m)) w->move(w->x(), twipsToPixels(m.top()));
}

void Binder::followTop(Control& m) {
  followTop_.insert(&m);
  if (m.onUpdate) m.onUpdate();
}

QWidget* Binder::widgetFor(const Control& m) const {
  auto it = widgets_.find(&m);
  return it == widgets_.end() ? nullptr : it->second;
}

void Binder::button(Button& m, QAbstractButton* w, const QString& description) {
  QObject::connect(w, &QAbstractButton::clicked, w, [&m] { m.click(); });
  bind(m, w, description, [&m, w] { w->setText(plainCaption(m.caption())); });
}

void Binder::label(Label& m, ClickableLabel* w, const QString& description) {
  QObject::connect(w, &ClickableLabel::clicked, w, [&m] {
    if (m.onClick) m.onClick();
  });
  QObject::connect(w, &ClickableLabel::doubleClicked, w, [&m] {
    if (m.onDblClick) m.onDblClick();
  });
  // Repainting at once shows the file in hand before a copy that keeps the event loop away.
  m.onRefresh = [w] { w->repaint(); };
  bind(m, w, description, [&m, w] {
    w->setText(captionLines(m.caption()));
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, qtColour(m.backColour()));
    pal.setColor(QPalette::WindowText, qtColour(m.foreColour()));
    w->setPalette(pal);
    // The grey of the classic window face is the window's own background here.
    w->setAutoFillBackground(m.backColour() != colours::LightGrey);
  });
}

void Binder::frame(Frame& m, QGroupBox* w) {
  // A frame hides what lies under it, such as the "no data" notes of the tabs.
  w->setAutoFillBackground(true);
  bind(m, w, {}, [&m, w] { w->setTitle(plainCaption(m.caption())); });
}

void Binder::picture(PictureBox& m, PictureView* w, const QImage& fixed, FileSystem& fs,
                     const QImage& fallback, const QString& description) {
  QObject::connect(w, &PictureView::clicked, w, [&m] {
    if (m.onClick) m.onClick();
  });
  // The file read last, with its time and size, so that a new file of the same name shows.
  auto shown = std::make_shared<QString>();
  bind(m, w, description, [&m, w, fixed, &fs, fallback, shown] {
    if (m.picture().empty()) {
      shown->clear();
      w->setNote({});
      w->setImage(fixed, false);
      return;
    }
    QString host;
    try {
      host = toQt(fs.hostPath(m.picture()));
    } catch (const std::exception&) {
      host.clear();
    }
    const QFileInfo info(host);
    const QString key = host + QLatin1Char('|') + info.lastModified().toString(Qt::ISODateWithMs) +
                        QLatin1Char('|') + QString::number(info.size());
    if (key == *shown) return;
    *shown = key;
    const QImage image = host.isEmpty() ? QImage() : readPicture(host, w->size());
    if (image.isNull()) {
      w->setImage(fallback, false);
      w->setNote(QObject::tr("Preview could not be shown"));
    } else {
      w->setImage(image, false);
      w->setNote({});
    }
  });
}

void Binder::progressBar(ProgressBar& m, QProgressBar* w, const QString& description) {
  w->setTextVisible(false);
  bind(m, w, description, [&m, w] {
    w->setRange(0, m.maximum());
    w->setValue(m.value());
  });
}

QTimer* Binder::timer(Timer& m) {
  auto* t = new QTimer(window_);
  t->setObjectName(QString::fromStdString(m.name()));
  QObject::connect(t, &QTimer::timeout, t, [&m] { m.tick(); });
  bound_.push_back(&m);
  m.onUpdate = [&m, t] {
    if (!m.running())
      t->stop();
    else if (!t->isActive() || t->interval() != m.interval())
      t->start(m.interval());
  };
  m.onUpdate();
  return t;
}

void Binder::tabs(TabStrip& m, QTabWidget* w) {
  QObject::connect(w, &QTabWidget::currentChanged, w, [&m](int index) { m.setTab(index); });
  bind(m, w, QObject::tr("Add-on kinds"), [&m, w] {
    for (int i = 0; i < w->count() && i < int(m.tabCaptions.size()); ++i)
      w->setTabText(i, plainCaption(m.tabCaptions[size_t(i)]));
    if (w->currentIndex() != m.tab()) {
      const QSignalBlocker block(w);
      w->setCurrentIndex(m.tab());
    }
  });
}

}  // namespace orvex
