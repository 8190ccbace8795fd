#include "editor/FormMain.h"

#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"
#include "foundation/Numeros.h"

#include <QColorDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>

// Handlers of the ribbon's editing commands: placement, valve and cylinder
// settings, names and linked texts, the text panel, replacing an element by
// another of its family and walking a tube's vertices.

namespace ventix {

namespace {

// Steps that join while the user goes on typing or sliding.
enum { fsTexto = 1, fsPista = 2 };

// The new element takes the old one's place and state; what refers to the old
// one by name or by link (texts) moves over, its tubes and interlock do not.
void Heredar(TAerComponente& Viejo, TAerComponente& Nuevo) {
    Nuevo.X = Viejo.X;
    Nuevo.Y = Viejo.Y;
    Nuevo.Alfa = Viejo.Alfa;
    Nuevo.EscalaX = Viejo.EscalaX;
    Nuevo.EscalaY = Viejo.EscalaY;
    Nuevo.Simetrico = Viejo.Simetrico;
    Nuevo.SetParametro(Viejo.GetParametro());
    Nuevo.Valor = Viejo.Valor;
}

// Relinks the texts, deletes the old (selected) element and hands its name
// to the new one, which becomes the selection.
void Sustituir(TAerPaintBox& Lienzo, TAerComponente& Viejo, TAerComponente& Nuevo) {
    const std::string Nombre = Viejo.GetNombre();
    for (int i = 0; i < Lienzo.Textos.Count(); ++i) {
        auto* t = Lienzo.Textos.ItemComo<TAerTexto>(i);
        if (t && t->GetAsociado() == &Viejo)
            t->SetAsociado(&Nuevo);
    }
    Lienzo.Seleccionar(&Viejo);
    Lienzo.BorrarSeleccion();
    Nuevo.SetNombre(Nombre);
    Lienzo.Seleccionar(&Nuevo);
}

// Rebuilds the selected valve with another actuator and the spring setting of
// btnMuelle; the ribbon's actuator-dependent panels follow at its right end.
void ReemplazarValvula(TfrmMain& F, TActuador Actuador) {
    TAerPaintBox& L = *F.Lienzo;
    auto* Viejo = dynamic_cast<TAerValvula*>(L.Seleccionado);
    if (!Viejo)
        return;
    const TLugarElemento Antes = TLugarElemento::De(L, Viejo);
    const QString Paso = QStringLiteral("cambiar el accionamiento de ") + TfrmMain::Nombrar(Viejo);
    auto* Nuevo = TAerValvula::Crear(L, F.btnMuelle->Down(), Actuador, Viejo->GetTipo());
    Heredar(*Viejo, *Nuevo);
    Sustituir(L, *Viejo, *Nuevo);
    for (QFrame* p : {F.pMuelle, F.pEnclavar, F.pTrack, F.pIdaVuelta})
        p->hide();
    if (Actuador == TActuador::Pilotado || Actuador == TActuador::Rele)
        F.MostrarPanel(F.pMuelle);
    if (Actuador == TActuador::Rodillo || Actuador == TActuador::Escamoteable) {
        F.MostrarPanel(F.pEnclavar);
        F.MostrarPanel(F.pTrack);
    }
    if (Actuador == TActuador::Escamoteable)
        F.MostrarPanel(F.pIdaVuelta);
    F.Repintar();
    F.Registrar(Paso, Antes);
}

} // namespace

void TfrmMain::CambiarComponenteClick(int Tipo) {
    auto* Viejo = Lienzo->Seleccionado;
    if (!Viejo)
        return;
    const TLugarElemento Antes = TLugarElemento::De(*Lienzo, Viejo);
    const QString Paso = QStringLiteral("cambiar ") + Nombrar(Viejo);
    const auto t = static_cast<TTipoComponente>(Tipo);
    TAerComponente* Nuevo;
    if (auto* v = dynamic_cast<TAerValvula*>(Viejo); v && Viejo->EsValvula()) {
        auto* n = TAerValvula::Crear(*Lienzo, v->GetMonoestable(), v->GetActuador(), t);
        n->Sentido = v->Sentido;
        Nuevo = n;
    } else
        Nuevo = TAerComponente::Crear(*Lienzo, t);
    Heredar(*Viejo, *Nuevo);
    Sustituir(*Lienzo, *Viejo, *Nuevo);
    Repintar();
    Registrar(Paso, Antes);
}

void TfrmMain::CambiarActuadorClick(int Actuador) {
    // Hand-worked and roller actuators have no second actuator: the valve
    // becomes spring-return.
    if (Actuador >= 2)
        btnMuelle->SetDown(true);
    ReemplazarValvula(*this, static_cast<TActuador>(Actuador));
}

void TfrmMain::btnMuelleClick() {
    auto* v = dynamic_cast<TAerValvula*>(Lienzo->Seleccionado);
    if (!v)
        return;
    pMuelle->hide();
    ReemplazarValvula(*this, v->GetActuador());
}

void TfrmMain::btnNextPrevClick(int Sentido) {
    auto* v = dynamic_cast<TAerVertice*>(Lienzo->Seleccionado);
    if (!v)
        return;
    TAerVertice* n = Sentido == 0 ? v->Anterior : v->Siguiente;
    if (!n)
        return;
    Lienzo->Seleccionar(n);
    MostrarVertice(n->GetLinea());
    Repintar();
}

void TfrmMain::btnRotar90Click() {
    if (auto* s = Lienzo->Seleccionado) {
        s->Alfa += 90.0;
        Repintar();
        Registrar(QStringLiteral("girar ") + Nombrar(s));
    } else if (Lienzo->Grupo.size() > 1) {
        Lienzo->GirarGrupo(Lienzo->Grupo);
        Repintar();
        Registrar(QStringLiteral("girar %1 elementos").arg(Lienzo->Grupo.size()));
    }
}

void TfrmMain::btnSimetricoClick() {
    if (auto* s = Lienzo->Seleccionado) {
        s->Simetrico = btnSimetrico->Down();
        Repintar();
        Registrar(QStringLiteral("reflejar ") + Nombrar(s));
    } else if (Lienzo->Grupo.size() > 1) {
        Lienzo->ReflejarGrupo(Lienzo->Grupo);
        Repintar();
        Registrar(QStringLiteral("reflejar %1 elementos").arg(Lienzo->Grupo.size()));
    }
}

void TfrmMain::btnValvulaPosicionClick() {
    if (auto* s = Lienzo->Seleccionado) {
        s->SetParametro(btnValvulaPosicion0->Down() ? 0.0 : 1.0);
        Repintar();
        Registrar(QStringLiteral("cambiar la posición inicial de ") + Nombrar(s));
    }
}

void TfrmMain::TrackBarChange(int Posicion) {
    auto* s = Lienzo->Seleccionado;
    if (!s)
        return;
    const double v = Posicion / 100.0;
    if (s->EsCilindro())
        s->SetParametro(v);
    else
        s->Valor = v;
    Repintar();
    Registrar(QStringLiteral("ajustar ") + Nombrar(s), fsPista);
}

void TfrmMain::btnAvanceRetrocesoClick(int Sentido) {
    if (auto* v = dynamic_cast<TAerValvula*>(Lienzo->Seleccionado)) {
        v->Sentido = Sentido == 1 ? TSentido::Avance : TSentido::Retroceso;
        Registrar(QStringLiteral("cambiar el sentido del rodillo de ") + Nombrar(v));
    }
}

void TfrmMain::btnNameOkClick() {
    auto* s = Lienzo->Seleccionado;
    if (!s)
        return;
    const std::string Viejo = s->GetNombre();
    const QString Nuevo = edNombre->text();
    try {
        s->SetNombre(Nuevo.toStdString());
        Registrar(QStringLiteral("nombrar ") + Nombrar(s));
    } catch (const EColeccionError&) {
        QMessageBox Caja(QMessageBox::NoIcon, QString(),
                         QStringLiteral("El nombre \"") + Nuevo +
                             QStringLiteral("\" ya existe, pruebe otro"),
                         QMessageBox::Ok, this);
        Caja.exec();
        edNombre->setText(QString::fromStdString(Viejo));
    }
}

void TfrmMain::btnLinkTextClick() {
    auto* s = Lienzo->Seleccionado;
    if (!s)
        return;
    auto* t = TAerTexto::Crear(*Lienzo);
    t->X = s->X - 15.0;
    t->Y = s->Y + 6.0;
    t->SetAsociado(s);
    if (!s->GetNombre().empty())
        t->Cadena = s->GetNombre();
    Repintar();
    Registrar(QStringLiteral("enlazar un texto a ") + Nombrar(s));
}

// Text panel.

void TfrmMain::edTextoChange() {
    if (auto* t = dynamic_cast<TAerTexto*>(Lienzo->Seleccionado)) {
        t->Cadena = edTexto->text().toStdString();
        Repintar();
        Registrar(QStringLiteral("escribir el texto"), fsTexto);
    }
}

void TfrmMain::btnFontEstiloClick() {
    auto* t = dynamic_cast<TAerTexto*>(Lienzo->Seleccionado);
    if (!t)
        return;
    std::uint8_t e = 0;
    if (btnNegrita->Down())
        e |= etNegrita;
    if (btnItalica->Down())
        e |= etItalica;
    if (btnSubrayada->Down())
        e |= etSubrayada;
    if (btnTachada->Down())
        e |= etTachada;
    t->SetEstilo(e);
    Repintar();
    Registrar(QStringLiteral("cambiar el estilo del texto"));
}

void TfrmMain::btnOkClick() {
    auto* t = dynamic_cast<TAerTexto*>(Lienzo->Seleccionado);
    if (!t)
        return;
    // A height that does not read as a number leaves the text as it was and
    // the parser's error reaches the window's handler.
    const double h = TextoANumero(edSize->text().toStdString());
    t->SetTamano(h);
    Repintar();
    Registrar(QStringLiteral("cambiar la altura del texto"));
}

void TfrmMain::btnColorClick() {
    auto* t = dynamic_cast<TAerTexto*>(Lienzo->Seleccionado);
    const QColor c = QColorDialog::getColor(ColorTexto, this);
    if (!c.isValid())
        return;
    ColorTexto = QColor(c.red(), c.green(), c.blue());
    btnColor->setStyleSheet(
        QStringLiteral("background: %1; border: 1px solid #808080;").arg(ColorTexto.name()));
    if (t)
        t->ColorTexto = ColorTexto;
    Repintar();
    Registrar(QStringLiteral("cambiar el color del texto"));
    edTexto->setFocus();
}

} // namespace ventix
