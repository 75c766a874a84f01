// The preview frmPreview: its summary, its sortable table and its two buttons.
#include "qt/preview_window.h"

#include <QPushButton>
#include <QTreeWidget>

#include "qt/binder.h"
#include "qt/clickable_label.h"
#include "qt/twips.h"
#include "ui/windows.h"

namespace orvex {

PreviewWindow::PreviewWindow(frmPreview& model, QWidget* parent) : QDialog(parent), model_(model) {
  binder_ = std::make_unique<Binder>(model_, this);
  Binder& b = *binder_;
  auto* summary = placed<ClickableLabel>(this, 240, 180, 10320, 1800);
  summary->setWordWrap(true);
  summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
  b.label(model_.labPreviewSummary, summary, tr("What the install does"));
  b.listView(model_.lvwPreview, placed<QTreeWidget>(this, 240, 2100, 10320, 4260),
             tr("Files and where they go"));
  auto* install = placed<QPushButton>(this, 7560, 6540, 1440, 420);
  b.button(model_.cmdPreviewInstall, install);
  auto* close = placed<QPushButton>(this, 9120, 6540, 1440, 420);
  close->setDefault(true);
  b.button(model_.cmdPreviewClose, close);
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::reject() {
  model_.hide();
  QDialog::reject();
}

}  // namespace orvex
