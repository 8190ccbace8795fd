#include "editor/FormErrores.h"

#include <QFont>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

namespace ventix {

TfrmErrores::TfrmErrores()
    : QWidget(nullptr, Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                           Qt::WindowCloseButtonHint | Qt::WindowTitleHint |
                           Qt::CustomizeWindowHint) {
    setWindowTitle(QStringLiteral("Errores en el circuito"));
    resize(585, 394);
    if (auto* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    Memo1 = new QPlainTextEdit(this);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(Memo1);
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::Monospace);
    f.setPixelSize(11);
    Memo1->setFont(f);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetLineas({"Esta ventana se regenerará cuando se vuelva a verificar",
               "el circuito haciendo click en el botón apropiado.",
               "Se puede tener abierta durante la edición para",
               "poder ser consultada en cualquier momento.",
               "Los componentes con errores se marcan en verde sólo", "en el modo verificación.",
               std::string(55, '-'), "", "No se han encontrado errores."});
}

void TfrmErrores::SetLineas(const std::vector<std::string>& Lineas) {
    QStringList l;
    for (const auto& s : Lineas)
        l << QString::fromStdString(s);
    Memo1->setPlainText(l.join(QLatin1Char('\n')));
}

QString TfrmErrores::Texto() const {
    return Memo1->toPlainText();
}

} // namespace ventix
