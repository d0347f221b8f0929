#include "hostapp/column_legend.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>

#include "hostapp/matrix_grid_model.h"

namespace orv::hostapp {

ColumnLegend::ColumnLegend(QHeaderView* header) : QObject(header), header_(header) {}

void ColumnLegend::Attach(QHeaderView* header) {
  header->viewport()->installEventFilter(new ColumnLegend(header));
}

QString ColumnLegend::For(const QString& caption, const QString& group, bool check_box) {
  const QString name = caption.trimmed();
  QString text;
  if (name == QLatin1String("Ins")) {
    text = tr("Inserimento: spuntato, può creare articoli della famiglia");
  } else if (name == QLatin1String("Mod")) {
    text = tr("Modifica: spuntato, può modificare gli articoli della famiglia");
  } else if (name == QLatin1String("Elim")) {
    text = tr("Eliminazione: spuntato, può eliminare gli articoli della famiglia");
  } else if (name == QLatin1String("Abilita") || name == QLatin1String("Abilitato")) {
    text =
        tr("Spuntato: il diritto vale; togliere la spunta lo revoca per l'utente o il gruppo "
           "scelto");
  } else if (name == QLatin1String("Codice")) {
    text = tr("Codice dell'elemento");
  } else if (name == QLatin1String("Nome") || name == QLatin1String("Descrizione")) {
    text = tr("Nome dell'elemento");
  } else if (name == QLatin1String("Raggruppamento")) {
    text = tr("Gruppo di righe (azienda o tipo)");
  } else if (name == QLatin1String("Progetto")) {
    text = tr("Progetto a cui appartiene il nodo");
  } else if (group == QLatin1String("Origine") || name.isEmpty()) {
    text =
        tr("Deposito di origine: ogni riga è un deposito da cui si trasferisce. Scegliere una "
           "riga e premere «Abilita/Disabilita dep. origine» per tutta la riga");
  } else if (group == QLatin1String("Destinazioni")) {
    text =
        tr("Trasferimenti verso il deposito %1: spuntato, il trasferimento è permesso").arg(name);
  }
  if (check_box) {
    text += (text.isEmpty() ? QString() : QStringLiteral("\n")) +
            tr("Clic sul titolo o sulla sua casella: abilita o revoca tutta la colonna");
  }
  return text;
}

QString ColumnLegend::ForCopyControl(const QString& name) {
  if (name == QLatin1String("fraAnagBase")) return tr("Anagrafiche di base");
  if (name == QLatin1String("CHK_CLIFOR")) {
    return tr("Copia le revoche su clienti e fornitori (per classificazione)");
  }
  if (name == QLatin1String("CHK_TRANS")) {
    return tr("Copia le revoche sui trasferimenti tra depositi (origine e destinazione)");
  }
  if (name == QLatin1String("CHK_BLOC")) return tr("Copia le revoche sui modelli di blocco merce");
  if (name == QLatin1String("CHK_FAM")) {
    return tr("Copia le revoche sugli articoli di magazzino per famiglia (Ins/Mod/Elim)");
  }
  if (name == QLatin1String("CHK_DEP")) return tr("Copia le revoche sui depositi");
  if (name == QLatin1String("CHK_CODICISIMUAZIONE")) {
    return tr("Copia le revoche sui codici di simulazione MRP");
  }
  if (name == QLatin1String("CHK_PROGETTI")) return tr("Copia le revoche sui progetti");
  if (name == QLatin1String("CHK_NODI")) return tr("Copia le revoche sui nodi di progetto");
  if (name == QLatin1String("txtDa")) return tr("Utente o gruppo da cui si copia (secondo albero)");
  if (name == QLatin1String("txtA")) return tr("Utente o gruppo a cui si copia (primo albero)");
  if (name == QLatin1String("CMD_SELEZIONA")) return tr("Spunta tutte le sezioni da copiare");
  return {};
}

bool ColumnLegend::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip || header_->model() == nullptr) {
    return QObject::eventFilter(watched, event);
  }
  const auto* help = static_cast<QHelpEvent*>(event);
  const int logical = header_->logicalIndexAt(help->pos());
  if (logical < 0) return QObject::eventFilter(watched, event);
  const QAbstractItemModel* model = header_->model();
  const QString caption = model->headerData(logical, Qt::Horizontal).toString();
  const QString group =
      model->headerData(logical, Qt::Horizontal, MatrixGridModel::kGroupRole).toString();
  const bool box = model->headerData(logical, Qt::Horizontal, Qt::CheckStateRole).isValid();
  const QString text = For(caption, group, box);
  if (text.isEmpty()) {
    QToolTip::hideText();
  } else {
    QToolTip::showText(help->globalPos(), text, header_->viewport());
  }
  return true;
}

}  // namespace orv::hostapp
