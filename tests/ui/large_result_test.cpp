// Half a million rows in the result grid: open, scroll, sort and check without copying rows.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTreeView>
#include <QtTest>

#include "presenters/result_window_presenter.h"
#include "ui/result_model.h"

namespace twinex::ui {

class LargeResultTest : public QObject {
  Q_OBJECT

  static long ResidentKb() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
      if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
  }

 private slots:
  void halfAMillionRows() {
    const int kGroups = qEnvironmentVariableIntValue("TWINEX_GROUPS") > 0 ? qEnvironmentVariableIntValue("TWINEX_GROUPS") : 250000;
    ResultTree tree;
    tree.captionType = kCaptionSize;
    for (int g = 0; g < kGroups; ++g) {
      const std::uint64_t size = static_cast<std::uint64_t>((g * 7919) % kGroups) + 1;
      ResultGroup& group = tree.AddGroup(std::to_string(size), size);
      for (int f = 0; f < 2; ++f) {
        ResultFile file;
        file.dupname = "file" + std::to_string(g) + "_" + std::to_string(f) + ".bin";
        file.path = "/data/folder" + std::to_string(g % 1000);
        file.size = size;
        file.dateVal = 45000.0 + (g % 977) + f;
        tree.AddFile(group, std::move(file));
      }
    }
    const long before = ResidentKb();
    ResultWindowPresenter presenter;
    ResultModel model(presenter);
    QTreeView view;
    view.setUniformRowHeights(true);
    view.resize(1000, 700);
    view.setModel(&model);
    view.show();

    QElapsedTimer t;
    t.start();
    model.SetTree(&tree);
    QApplication::processEvents();
    const qint64 open = t.restart();
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
    QApplication::processEvents();
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    QApplication::processEvents();
    for (int g = kGroups - 40; g < kGroups; ++g) view.expand(model.index(g, 0));  // the file rows in sight
    QApplication::processEvents();
    const qint64 scroll = t.restart();
    model.sort(0, Qt::DescendingOrder);
    QApplication::processEvents();
    const qint64 sort = t.restart();
    const QModelIndex group = model.index(kGroups - 1, 0);
    QVERIFY(model.setData(group, Qt::Checked, Qt::CheckStateRole));
    QApplication::processEvents();
    const qint64 check = t.restart();
    qInfo("%d groups, %d file rows: open %lld ms, scroll %lld ms, sort %lld ms, check %lld ms; grid memory %ld KB",
          kGroups, 2 * kGroups, open, scroll, sort, check, ResidentKb() - before);

    QCOMPARE(tree.groups.front().sizeG, static_cast<std::uint64_t>(kGroups));
    QCOMPARE(tree.counters.DupCountSelected, 2);
    // Generous bounds: a copy of the rows or a walk over all of them per event would miss them.
    QVERIFY(open < 2000);
    QVERIFY(scroll < 1000);
    QVERIFY(check < 500);
  }
};

}  // namespace twinex::ui

QTEST_MAIN(twinex::ui::LargeResultTest)
#include "large_result_test.moc"
