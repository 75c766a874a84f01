// The preview frmPreview: its summary, its sortable table and its two buttons.
#include "qt/preview_window.h"

#include <QPushButton>
#include <QScrollArea>
#include <QTreeWidget>

#include "qt/binder.h"
#include "qt/clickable_label.h"
#include "qt/twips.h"
#include "ui/windows.h"

namespace orvex {

PreviewWindow::PreviewWindow(frmPreview& model, QWidget* parent) : QDialog(parent), model_(model) {
  binder_ = std::make_unique<Binder>(model_, this);
  Binder& b = *binder_;
  // A long summary (an aircraft makes many folders) scrolls in its place above the table.
  auto* scroller = placed<QScrollArea>(this, 240, 180, 13200, 1800);
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  auto* summary = new ClickableLabel;
  scroller->setWidget(summary);
  summary->setWordWrap(true);
  summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
  b.label(model_.labPreviewSummary, summary, tr("What the install does"));
  b.listView(model_.lvwPreview, placed<QTreeWidget>(this, 240, 2100, 13200, 4260),
             tr("Files and where they go"));
  auto* install = placed<QPushButton>(this, 10440, 6540, 1440, 420);
  b.button(model_.cmdPreviewInstall, install);
  auto* close = placed<QPushButton>(this, 12000, 6540, 1440, 420);
  close->setDefault(true);
  b.button(model_.cmdPreviewClose, close);
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::reject() {
  model_.hide();
  QDialog::reject();
}

}  // namespace orvex
