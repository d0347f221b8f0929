// The item models of the desktop host over in-memory recordsets, each
// wrapped in QAbstractItemModelTester.

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "db/recordset.h"
#include "hostapp/grouping_grid_model.h"
#include "hostapp/matrix_grid_model.h"
#include "hostapp/qt_resize_control.h"
#include "hostapp/screenshot.h"
#include "hostapp/suites.h"
#include "hostapp/tree_grid_model.h"
#include "hostapp/twips.h"

namespace orv::hostapp {
namespace {

using Row = std::vector<db::Value>;

// An in-memory recordset with text fields `names` and the given rows.
std::shared_ptr<db::Recordset> Rows(const std::vector<std::string>& names,
                                    const std::vector<Row>& rows) {
  auto rs = std::make_shared<db::Recordset>();
  for (const std::string& name : names) rs->AppendField(name, db::DataType::kVarChar, 250);
  rs->Open();
  for (const Row& row : rows) {
    rs->AddNew();
    for (size_t i = 0; i < row.size(); ++i) rs->SetField(static_cast<int>(i), row[i]);
    rs->Update();
  }
  if (rs->RecordCount() > 0) rs->MoveFirst();
  return rs;
}

host::GridColumn Text(const std::string& key) {
  host::GridColumn c;
  c.key = c.field = c.caption = key;
  return c;
}

host::GridColumn Box(const std::string& key) {
  host::GridColumn c = Text(key);
  c.check_box = true;
  c.checked_value = "1";
  c.unchecked_value = "0";
  c.header_check_box = true;
  return c;
}

// The rows under `parent` as the model shows them (text of column 0, then
// the check of column 1: "-" for no box), each branch's rows after it and
// indented by one blank per level.
void Walk(const QAbstractItemModel& model, const QModelIndex& parent, int depth, QStringList* out) {
  for (int r = 0; r < model.rowCount(parent); ++r) {
    const QModelIndex label = model.index(r, 0, parent);
    const QVariant check = model.index(r, 1, parent).data(Qt::CheckStateRole);
    const QString box = !check.isValid()                    ? QStringLiteral("-")
                        : check.toInt() == int(Qt::Checked) ? QStringLiteral("1")
                                                            : QStringLiteral("0");
    out->append(QString(depth, QLatin1Char(' ')) + label.data().toString() + "|" + box);
    Walk(model, label, depth + 1, out);
  }
}

}  // namespace

class ModelsTest : public QObject {
  Q_OBJECT

 private slots:
  void GroupingModelPutsRowsUnderGroupHeaders() {
    GroupingGridModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    auto rs = Rows({"CODICE", "DESCRIZIONE", "ABILITATO", "RAGGRUPPAMENTO"},
                   {{"P1", "Uno", "1", "1 - Alfa"},
                    {"P2", "Due", "0", "2 - Beta"},
                    {"P3", "Tre", "1", "1 - Alfa"}});
    model.SetColumns(
        {Text("CODICE"), Text("DESCRIZIONE"), Box("ABILITATO"), Text("RAGGRUPPAMENTO")},
        "RAGGRUPPAMENTO");
    model.SetRecordset(rs);
    // The grouping column is the header, not a column.
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.rowCount(), 2);
    const QModelIndex alfa = model.index(0, 0);
    QVERIFY(model.IsGroupRow(alfa));
    QCOMPARE(alfa.data().toString(), QStringLiteral("1 - Alfa (2)"));
    QCOMPARE(model.rowCount(alfa), 2);
    QCOMPARE(model.index(1, 0, alfa).data().toString(), QStringLiteral("P3"));
    const QModelIndex beta = model.index(1, 0);
    QCOMPARE(model.index(0, 2, beta).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(model.index(0, 2, alfa).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(!(model.flags(model.index(0, 1, alfa)) & Qt::ItemIsUserCheckable));
    QVERIFY(model.flags(model.index(0, 2, alfa)) & Qt::ItemIsUserCheckable);

    // A toggle is handed on with the row's bookmark; the model changes nothing.
    std::vector<std::pair<db::Recordset::Bookmark, int>> toggles;
    model.SetToggleHandler(
        [&](db::Recordset::Bookmark row, int column) { toggles.emplace_back(row, column); });
    QVERIFY(model.setData(model.index(0, 2, beta), Qt::Checked, Qt::CheckStateRole));
    QVERIFY(!model.setData(model.index(0, 1, beta), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(toggles.size(), size_t{1});
    QCOMPARE(toggles[0].second, 2);
    rs->SetBookmark(toggles[0].first);
    QCOMPARE(rs->Field("CODICE").ToText(), std::string("P2"));
    QCOMPARE(model.index(0, 2, beta).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));

    // A change made in the row shows after RefreshCells.
    rs->SetField("ABILITATO", db::Value("1"));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.RefreshCells();
    QVERIFY(!changed.isEmpty());
    QCOMPARE(model.index(0, 2, beta).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(model.IndexOf(toggles[0].first, 2), model.index(0, 2, beta));

    // Unbinding empties the model.
    model.SetRecordset(nullptr);
    QCOMPARE(model.rowCount(), 0);
  }

  void GroupingModelFollowsTheFilterAndKeepsTheCursor() {
    GroupingGridModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    auto rs = Rows({"CODICE", "ABILITATO"}, {{"A", "1"}, {"B", "0"}, {"C", "1"}});
    model.SetColumns({Text("CODICE"), Box("ABILITATO")}, "");
    rs->MoveLast();
    model.SetRecordset(rs);
    QCOMPARE(model.rowCount(), 3);
    QVERIFY(!model.IsGroupRow(model.index(0, 0)));
    // Reading the rows leaves the window's current row where it was.
    QCOMPARE(rs->Field("CODICE").ToText(), std::string("C"));
    rs->SetFilter("ABILITATO = '1'");
    model.Reload();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("C"));

    // Header check boxes: shown for the column, toggled through the handler.
    std::vector<std::pair<int, bool>> headers;
    model.SetHeaderHandler([&](int column, bool state) { headers.emplace_back(column, state); });
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    model.HeaderCheckBoxClicked(1);
    model.HeaderCheckBoxClicked(0);  // a text column has no box
    QCOMPARE(headers.size(), size_t{1});
    QCOMPARE(headers[0], std::make_pair(1, true));
    model.SetHeaderCheckBox(1, false);
    QVERIFY(!model.headerData(1, Qt::Horizontal, Qt::CheckStateRole).isValid());
  }

  void TreeModelNestsRowsByParentKey() {
    TreeGridModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    auto rs = Rows(
        {"PADRE_KEY", "KEY", "TEXT", "IMAGE", "CHECKED", "CHECKED2"},
        {{db::Value::Null(), "H1", "Aree", "open", db::Value::Null(), db::Value::Null()},
         {"H1", "A1", "Nord (cli)", "Raggruppamento", "1", "1"},
         {"A1", "A1Z", "Zona 1 (cli)", "Raggruppamento", "0", "1"},
         {"MISSING", "X", "Orfano", "Raggruppamento", "1", "1"},
         {db::Value::Null(), "H2", "Categorie", "open", db::Value::Null(), db::Value::Null()}});
    host::GridColumn hidden = Text("CHECKED2");
    hidden.shown = false;
    host::GridColumn code = Text("CODICE");
    model.SetColumns({code, Text("TEXT"), hidden, Box("CHECKED")}, "KEY", "PADRE_KEY");
    model.SetRecordset(rs);
    QCOMPARE(model.columnCount(), 3);  // the hidden marker is not a column
    QCOMPARE(model.CollectionColumn(2), 3);
    // Headings and the orphan are top-level, in recordset order.
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("Aree"));
    QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("Orfano"));
    const QModelIndex north = model.index(0, 1, model.index(0, 0));
    QCOMPARE(north.data().toString(), QStringLiteral("Nord (cli)"));
    const QModelIndex zone = model.index(0, 2, model.index(0, 0, model.index(0, 0)));
    QCOMPARE(model.KeyOf(zone), QStringLiteral("A1Z"));
    QCOMPARE(zone.data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    // Headings carry no box.
    QVERIFY(!model.index(0, 2).data(Qt::CheckStateRole).isValid());
    QVERIFY(!model.setData(model.index(0, 2), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(model.IndexOfKey(QStringLiteral("A1Z"), 2), zone);

    int toggled_column = -1;
    db::Recordset::Bookmark toggled_row = -1;
    model.SetToggleHandler([&](db::Recordset::Bookmark row, int column) {
      toggled_row = row;
      toggled_column = column;
    });
    QVERIFY(model.setData(zone, Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(toggled_column, 3);  // the collection's index of CHECKED
    rs->SetBookmark(toggled_row);
    QCOMPARE(rs->Field("KEY").ToText(), std::string("A1Z"));

    // The column-substitution event may present another column's field.
    model.SetSubstitutionHandler([](db::Recordset::Bookmark, int column) {
      return column == 0 ? 1 : column;  // CODICE shows TEXT
    });
    model.RefreshCells();
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("Aree"));
  }

  void TreeModelFillsABranchWhenAskedAsTheRecordsetHoldsIt() {
    TreeGridModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const db::Value none = db::Value::Null();
    // A zone listed after the other branches, under a parent key written
    // with blanks around it; a row naming itself as parent is top-level.
    auto rs =
        Rows({"PADRE_KEY", "KEY", "TEXT", "IMAGE", "CHECKED"},
             {{none, "G.AREE_1", "Aree", "open", none},
              {"G.AREE_1", "M_1.0.NORD", "NORD - Nord (cli)", "Raggruppamento", "1"},
              {"G.AREE_1", "M_1.0.SUD", "SUD - Sud (cli)", "Raggruppamento", "0"},
              {"M_1.0.SUD", "A_1.0.SUD.CAM", "CAM - Campania (cli)", "Raggruppamento", "1"},
              {none, "G.CATs_1", "Categorie", "open", none},
              {"G.CATs_1", "Y_1.0.IND", "IND - Industria (cli)", "Raggruppamento", "1"},
              {"Y_1.0.IND", "C_1.0.IND.MECC", "MECC - Meccanica (cli)", "Raggruppamento", "1"},
              {"Y_1.0.IND", "C_1.0.IND.TESS", "TESS - Tessile (cli)", "Raggruppamento", "1"},
              {" M_1.0.NORD ", "A_1.0.NORD.LOM", "LOM - Lombardia (cli)", "Raggruppamento", "0"},
              {"SELF", "SELF", "Se stesso", "open", none}});
    model.SetColumns({Text("TEXT"), Box("CHECKED")}, "KEY", "PADRE_KEY");
    model.SetRecordset(rs);

    // The first heading expanded: its branches, their boxes and counts.
    QCOMPARE(model.rowCount(), 3);
    const QModelIndex areas = model.index(0, 0);
    QCOMPARE(areas.data().toString(), QStringLiteral("Aree"));
    QCOMPARE(model.rowCount(areas), 2);
    QCOMPARE(model.index(0, 0, areas).data().toString(), QStringLiteral("NORD - Nord (cli)"));
    QCOMPARE(model.index(0, 1, areas).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(model.index(1, 1, areas).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(model.rowCount(model.index(0, 0, areas)), 1);
    QCOMPARE(model.rowCount(model.index(1, 0, areas)), 1);

    // A box of the other heading's branch, not expanded yet, changes in the
    // recordset as a click's handler changes it; it shows so once expanded.
    rs->MoveFirst();
    while (!rs->IsEof() && rs->Field("KEY").ToText() != "C_1.0.IND.TESS") rs->MoveNext();
    QVERIFY(!rs->IsEof());
    rs->SetField("CHECKED", db::Value("0"));
    rs->Update();
    const QModelIndex industry = model.index(0, 0, model.index(1, 0));
    QCOMPARE(industry.data().toString(), QStringLiteral("IND - Industria (cli)"));
    QCOMPARE(model.rowCount(industry), 2);
    QCOMPARE(model.index(1, 0, industry).data().toString(), QStringLiteral("TESS - Tessile (cli)"));
    QCOMPARE(model.index(1, 1, industry).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));

    // The whole tree, and a deep row found by its key.
    QStringList shown;
    Walk(model, {}, 0, &shown);
    QCOMPARE(shown, (QStringList{"Aree|-", " NORD - Nord (cli)|1", "  LOM - Lombardia (cli)|0",
                                 " SUD - Sud (cli)|0", "  CAM - Campania (cli)|1", "Categorie|-",
                                 " IND - Industria (cli)|1", "  MECC - Meccanica (cli)|1",
                                 "  TESS - Tessile (cli)|0", "Se stesso|-"}));
    const QModelIndex lom = model.IndexOfKey(QStringLiteral("A_1.0.NORD.LOM"), 1);
    QCOMPARE(model.KeyOf(lom), QStringLiteral("A_1.0.NORD.LOM"));
    QCOMPARE(model.KeyOf(lom.parent()), QStringLiteral("M_1.0.NORD"));
    QCOMPARE(model.KeyOf(lom.parent().parent()), QStringLiteral("G.AREE_1"));
    QVERIFY(!model.IndexOfKey(QStringLiteral("NONE"), 0).isValid());

    // Only a branch's box cell can be checked; a heading's and a text cell cannot.
    QVERIFY(model.flags(lom) & Qt::ItemIsUserCheckable);
    QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsUserCheckable));
    QVERIFY(!(model.flags(lom.siblingAtColumn(0)) & Qt::ItemIsUserCheckable));
    QVERIFY(model.flags(lom.siblingAtColumn(0)) & Qt::ItemIsSelectable);
  }

  void MatrixModelHasHeaderGroupsAndHeaderBoxes() {
    MatrixGridModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    auto rs = Rows({"CODICE", "DESCRIZIONE", "C_A", "C_B___1"},
                   {{"A", "A - Centrale", "1", "0"}, {"B 1", "B 1", "1", "1"}});
    host::GridColumn origin = Text("DESCRIZIONE");
    origin.group = "Origine";
    host::GridColumn a = Box("C_A");
    a.group = "Destinazioni";
    a.caption = "A";
    host::GridColumn b = Box("C_B___1");
    b.group = "Destinazioni";
    b.caption = "B 1";
    model.SetColumns({origin, a, b});
    model.SetRecordset(rs);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.headerData(0, Qt::Horizontal, MatrixGridModel::kGroupRole).toString(),
             QStringLiteral("Origine"));
    QCOMPARE(model.headerData(2, Qt::Horizontal, MatrixGridModel::kGroupRole).toString(),
             QStringLiteral("Destinazioni"));
    QCOMPARE(model.headerData(1, Qt::Vertical).toString(), QStringLiteral("B 1"));
    QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::CheckStateRole).isValid());
    QCOMPARE(model.index(0, 2).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(model.RowOfCode(QStringLiteral("B 1")), 1);
    QCOMPARE(model.ColumnOf("C_B___1"), 2);

    std::vector<std::pair<int, bool>> headers;
    model.SetHeaderHandler([&](int column, bool state) { headers.emplace_back(column, state); });
    model.SetHeaderChecked(1, true);
    model.HeaderCheckBoxClicked(1);
    model.HeaderCheckBoxClicked(0);
    QCOMPARE(headers.size(), size_t{1});
    QCOMPARE(headers[0], std::make_pair(1, false));
  }

  void ResizeAnchoringFollowsTheSides_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QRect>("expected");  // from (100, 200, 300, 400) after (+50, +70)
    QTest::newRow("15 stretches both ways") << 15 << QRect(100, 200, 350, 470);
    QTest::newRow("7 stretches across") << 7 << QRect(100, 200, 350, 400);
    QTest::newRow("11 stretches down") << 11 << QRect(100, 200, 300, 470);
    QTest::newRow("13 a pane stays across") << 13 << QRect(100, 200, 300, 470);
    QTest::newRow("10 follows the bottom") << 10 << QRect(100, 270, 300, 400);
    QTest::newRow("12 follows the corner") << 12 << QRect(150, 270, 300, 400);
    QTest::newRow("5 follows the right") << 5 << QRect(150, 200, 300, 400);
    QTest::newRow("0 stays") << 0 << QRect(100, 200, 300, 400);
  }
  void ResizeAnchoringFollowsTheSides() {
    QFETCH(int, code);
    QFETCH(QRect, expected);
    const QtResizeControl::Box box = QtResizeControl::Apply({100, 200, 300, 400}, code, 50, 70);
    QCOMPARE(QRect(box.left, box.top, box.width, box.height), expected);
    // Shrinking never gives a negative size.
    const QtResizeControl::Box small = QtResizeControl::Apply({0, 0, 10, 10}, 15, -50, -50);
    QCOMPARE(small.width, 0);
    QCOMPARE(small.height, 0);
  }

  void TwipsAndPrincipalText() {
    QCOMPARE(TwipsToPixels(1440, 96), 96);
    QCOMPARE(TwipsToPixels(16290, 96), 1086);
    QCOMPARE(TwipsToPixels(1440, 144), 144);
    QCOMPARE(PixelsToTwips(96, 96), 1440);
    QCOMPARE(PixelsToTwips(TwipsToPixels(8400, 96), 96), 8400);
    auto user = Screenshot::ParsePrincipal("user:12");
    QVERIFY(user.has_value());
    QCOMPARE(user->kind, 1);
    QCOMPARE(user->id, int64_t{12});
    auto group = Screenshot::ParsePrincipal("group:3");
    QVERIFY(group.has_value());
    QCOMPARE(group->kind, 0);
    for (const char* bad : {"user:", "user:x", "team:1", "12", "group:3x", "user:-"}) {
      QVERIFY2(!Screenshot::ParsePrincipal(bad).has_value(), bad);
    }
  }
};

}  // namespace orv::hostapp

int RunModelsTest(int argc, char** argv) {
  orv::hostapp::ModelsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "models_test.moc"
