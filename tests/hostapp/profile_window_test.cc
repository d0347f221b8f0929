// The profile window of the desktop host, off screen, on a demo database.

#include "hostapp/profile_window.h"

#include <QTemporaryDir>
#include <QtTest>

#include "db/connection.h"
#include "db/recordset.h"
#include "hostapp/suites.h"
#include "hostdb/temporary_demo_database.h"

namespace orv::hostapp {

class ProfileWindowTest : public QObject {
  Q_OBJECT

 private:
  static QStringList Column(QStandardItemModel* model, int column) {
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row) texts << model->item(row, column)->text();
    return texts;
  }
  static int64_t Rows(db::Connection& cn, const std::string& table, const std::string& where) {
    auto rs = cn.Execute("SELECT COUNT(*) FROM " + table + " WHERE " + where);
    return rs->Field(0).ToInt64();
  }

 private slots:
  void effectiveRightsNameTheirSource() {
    hostdb::TemporaryDemoDatabase demo;
    auto cn = demo.Connect();
    ProfileWindow window([cn] { return cn; }, "admin");
    window.ShowEffective(window.IndexOf("user:lbianchi"));
    QStandardItemModel* model = window.effective_model();
    QCOMPARE(model->columnCount(), 5);
    QCOMPARE(model->horizontalHeaderItem(4)->text(), QStringLiteral("Origine"));
    const QStringList sources = Column(model, 4);
    QVERIFY(sources.contains(QStringLiteral("gruppo Ufficio vendite")));
    QVERIFY(sources.contains(QStringLiteral("utente")));
  }

  void whereUsedListsThePrincipals() {
    hostdb::TemporaryDemoDatabase demo;
    auto cn = demo.Connect();
    ProfileWindow window([cn] { return cn; }, "admin");
    window.ShowWhereUsed(QStringLiteral("transfer:MP:PF"));
    QCOMPARE(Column(window.where_used_model(), 0),
             QStringList{QStringLiteral("Gruppo - Magazzino e logistica")});
  }

  void importShowsThePreviewBeforeWriting() {
    hostdb::TemporaryDemoDatabase demo;
    auto cn = demo.Connect();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("mario.json"));
    ProfileWindow window([cn] { return cn; }, "admin");
    const int mario = window.IndexOf("user:mrossi");
    const int paolo = window.IndexOf("user:pcolombo");
    QVERIFY(window.ExportTo(mario, file));
    QVERIFY(window.PreviewImport(paolo, file));
    QVERIFY(window.preview_model()->rowCount() > 0);
    QCOMPARE(Rows(*cn, "FW31_RVKPARAMETRI", "FW31_ID_FW07 = 10"), int64_t{0});  // not yet
    QVERIFY(!window.wrote());
    QVERIFY(window.ApplyImport());
    QVERIFY(window.wrote());
    QVERIFY(Rows(*cn, "FW31_RVKPARAMETRI", "FW31_ID_FW07 = 10") > 0);
    window.ShowComparison(mario, paolo);
    QCOMPARE(window.compare_model()->rowCount(), 0);
    // A second apply without a new preview does nothing.
    QVERIFY(!window.ApplyImport());
  }
};

}  // namespace orv::hostapp

int RunProfileWindowTest(int argc, char** argv) {
  orv::hostapp::ProfileWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "profile_window_test.moc"
