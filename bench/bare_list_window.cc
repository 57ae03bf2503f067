// The least Qt program that does what one listing orb shows: a tree widget
// of five rows and three columns in a frameless 169x89 window, its values
// replaced every 10 s. Qt Widgets alone: a listing needs no chart library.
#include <QApplication>
#include <QHeaderView>
#include <QTimer>
#include <QTreeWidget>

namespace {

constexpr int kRows = 5;

void Fill(QTreeWidget& tree, int round) {
  for (int i = 0; i < kRows; ++i) {
    QTreeWidgetItem* row = tree.topLevelItem(i);
    row->setText(1, QString::number((i * 7 + round * 3) % 23));
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTreeWidget tree;
  tree.setColumnCount(3);
  tree.setRootIsDecorated(false);
  tree.header()->hide();
  for (int i = 0; i < kRows; ++i) {
    tree.addTopLevelItem(new QTreeWidgetItem(
        {QString("Item %1").arg(i), QString(), QString("%")}));
  }
  tree.setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
  tree.resize(169, 89);
  int round = 0;
  Fill(tree, round);
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { Fill(tree, ++round); });
  timer.start(10000);
  tree.show();
  return app.exec();
}
