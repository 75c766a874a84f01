// Binding of list views: rows and column headings shown, the selection handed to the model.
#include <QCheckBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>
#include <memory>

#include "qt/binder.h"
#include "qt/qt_text.h"

namespace orvex {
namespace {

constexpr int kRowRole = Qt::UserRole;

// Sorts numbers as numbers and sizes by their bytes, where a column holds them.
class RowItem : public QTreeWidgetItem {
 public:
  using QTreeWidgetItem::QTreeWidgetItem;
  bool operator<(const QTreeWidgetItem& other) const override {
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    const QVariant a = data(column, Qt::UserRole + 1), b = other.data(column, Qt::UserRole + 1);
    if (a.isValid() && b.isValid()) return a.toDouble() < b.toDouble();
    return text(column).localeAwareCompare(other.text(column)) < 0;
  }
};

// The number a cell stands for, when it is one ("12", "1.5 MB", "300 bytes").
QVariant numberIn(const QString& text) {
  const QStringList parts = text.split(QLatin1Char(' '));
  bool ok = false;
  const double value = parts.value(0).toDouble(&ok);
  if (!ok) return {};
  const QString unit = parts.value(1);
  const double scale = unit == QLatin1String("KB")   ? 1024.0
                       : unit == QLatin1String("MB") ? 1024.0 * 1024.0
                       : unit == QLatin1String("GB") ? 1024.0 * 1024.0 * 1024.0
                                                     : 1.0;
  return value * scale;
}

}  // namespace

void Binder::listView(ListView& m, QTreeWidget* w, const QString& description) {
  w->setRootIsDecorated(false);
  w->setUniformRowHeights(true);
  w->setSelectionMode(QAbstractItemView::SingleSelection);
  w->setAllColumnsShowFocus(true);
  w->setTextElideMode(Qt::ElideMiddle);
  w->header()->setStretchLastSection(true);
  w->setSortingEnabled(m.sortable);
  if (m.sortable) w->sortByColumn(-1, Qt::AscendingOrder);  // the model's order until a click

  QObject::connect(w, &QTreeWidget::currentItemChanged, w, [&m](QTreeWidgetItem* item) {
    m.setListIndex(item ? item->data(0, kRowRole).toInt() : -1);
  });

  // What the widget shows, so that a change of the selection alone does not rebuild the rows.
  auto shownRows = std::make_shared<std::vector<std::vector<std::string>>>();
  auto shownColumns = std::make_shared<std::vector<std::string>>();
  bind(m, w, description, [&m, w, shownRows, shownColumns] {
    const QSignalBlocker block(w);
    if (*shownColumns != m.columns()) {
      *shownColumns = m.columns();
      QStringList headings;
      for (const std::string& c : m.columns()) headings << toQt(c);
      w->setColumnCount(int(headings.size()));
      w->setHeaderLabels(headings);
    }
    if (*shownRows != m.rows()) {
      *shownRows = m.rows();
      w->setUpdatesEnabled(false);
      const bool sorting = w->isSortingEnabled();
      w->setSortingEnabled(false);
      w->clear();
      QList<QTreeWidgetItem*> items;
      items.reserve(int(m.rows().size()));
      for (size_t r = 0; r < m.rows().size(); ++r) {
        auto* item = new RowItem;
        for (size_t c = 0; c < m.rows()[r].size(); ++c) {
          const QString text = toQt(m.rows()[r][c]);
          item->setText(int(c), text);
          if (const QVariant number = numberIn(text); number.isValid())
            item->setData(int(c), Qt::UserRole + 1, number);
        }
        item->setData(0, kRowRole, int(r));
        if (m.describeRows) {
          QStringList parts;
          for (size_t c = 0; c < m.rows()[r].size(); ++c)
            parts << (c == 0 || c >= m.columns().size()
                          ? toQt(m.rows()[r][c])
                          : toQt(m.columns()[c]) + QStringLiteral(": ") + toQt(m.rows()[r][c]));
          item->setData(0, Qt::AccessibleTextRole, parts.join(QStringLiteral(". ")));
        }

        items.append(item);
      }
      w->addTopLevelItems(items);
      // A row's check box is a check box of its own, in the first column: the pointer, the
      // space bar and a screen reader's toggle action all reach it as they reach any other.
      if (m.checkable)
        for (QTreeWidgetItem* item : items) {
          const int row = item->data(0, kRowRole).toInt();
          auto* box = new QCheckBox(item->text(0));
          box->setAutoFillBackground(true);
          box->setAccessibleName(item->text(0));
          item->setText(0, QString());
          item->setSizeHint(0, box->sizeHint());
          w->setItemWidget(item, 0, box);
          QObject::connect(box, &QCheckBox::toggled, w,
                           [&m, row](bool on) { m.setChecked(row, on); });
        }
      w->setSortingEnabled(sorting);
      // Columns as wide as their texts, but none so wide that the last one leaves the view: a
      // long path is shortened in its middle, keeping its drive and its file name.
      const int widest = std::max(w->width() * 45 / 100, 120);
      for (int c = 0; c + 1 < w->columnCount(); ++c) {
        w->resizeColumnToContents(c);
        if (w->columnWidth(c) > widest) w->setColumnWidth(c, widest);
      }
      w->setUpdatesEnabled(true);
    }
    if (m.checkable)
      for (int k = 0; k < w->topLevelItemCount(); ++k) {
        QTreeWidgetItem* item = w->topLevelItem(k);
        if (auto* box = qobject_cast<QCheckBox*>(w->itemWidget(item, 0))) {
          const QSignalBlocker quiet(box);
          box->setChecked(m.checked(item->data(0, kRowRole).toInt()));
        }
      }
    QTreeWidgetItem* current = nullptr;
    for (int k = 0; k < w->topLevelItemCount() && m.listIndex() >= 0; ++k)
      if (w->topLevelItem(k)->data(0, kRowRole).toInt() == m.listIndex())
        current = w->topLevelItem(k);
    w->setCurrentItem(current);
    if (!current) w->clearSelection();
  });
}

}  // namespace orvex
