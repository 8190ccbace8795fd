#include "editor/FormMain.h"

#include "circuit/AerConexion.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"
#include "editor/commands/Insertar.h"
#include "foundation/Numeros.h"

#include <QLineEdit>

// Handlers of the commands the modes rest on: inserting from the side bar,
// coordinates typed into the ribbon, deleting, drawing tubes and the key
// preview. The other editing commands are in FormMainEdicion.cpp, the file
// commands in FormMainArchivo.cpp.

namespace ventix {

void TfrmMain::InsertarComponenteClick(int Tipo) {
    // An element still following the pointer stays where it is.
    if (Insertando) {
        Insertando = false;
        Registrar(QStringLiteral("insertar ") + Nombrar(Lienzo->Seleccionado), TLugarElemento());
    }
    OcultarCinta();
    Lienzo->Deseleccionar();
    Repintar();
    TAerComponente* e = Insertar(*Lienzo, static_cast<TTipoComponente>(Tipo),
                                 static_cast<TActuador>(ActuadorInicial));
    Lienzo->ColocarEnPuntero(e);
    Insertando = true;
}

void TfrmMain::ConfirmarCoordenada(QLineEdit* Ed, bool EsX) {
    TAerComponente* s = Lienzo->Seleccionado;
    std::exception_ptr Error;
    if (s) {
        double& v = EsX ? s->X : s->Y;
        try {
            v = TextoANumero(Ed->text().toStdString());
        } catch (...) {
            Error = std::current_exception();
        }
        PonerNumero(Ed, v);
        Registrar(QStringLiteral("mover ") + Nombrar(s));
    }
    Lienzo->Arrastre = arLibre;
    Repintar();
    if (Ed->hasFocus())
        Ed->clearFocus();
    if (Error)
        std::rethrow_exception(Error);
}

// A coordinate takes digits, a sign and a point; any other character is
// discarded. Keys that remain end a drag, and Enter commits the number.
bool TfrmMain::CoordenadaKeyPress(QLineEdit* Ed, bool EsX, int Key) {
    const bool Admitida =
        Key == 8 || Key == 13 || Key == '-' || Key == '.' || (Key >= '0' && Key <= '9');
    if (!Admitida)
        return false;
    Lienzo->Arrastre = arLibre;
    if (Key == 13)
        ConfirmarCoordenada(Ed, EsX);
    return true;
}

bool TfrmMain::edXKeyPress(int Key) {
    return CoordenadaKeyPress(edX, true, Key);
}

bool TfrmMain::edYKeyPress(int Key) {
    return CoordenadaKeyPress(edY, false, Key);
}

void TfrmMain::btnBorrarClick() {
    if (Lienzo->Grupo.size() > 1) {
        BorrarGrupo();
        return;
    }
    const TAerComponente* s = Lienzo->TuboNuevo ? nullptr : Lienzo->Seleccionado;
    const TLugarElemento Antes = TLugarElemento::De(*Lienzo, s);
    const QString Paso = s && s->EsVertice() ? QStringLiteral("borrar una unión")
                                             : QStringLiteral("borrar ") + Nombrar(s);
    Insertando = false;
    OcultarCinta();
    Lienzo->BorrarSeleccion();
    Repintar();
    SetModo(mdEdicion);
    Registrar(Paso, Antes);
}

void TfrmMain::btnCrearTuboClick() {
    auto* Inicio = dynamic_cast<TAerConexion*>(Lienzo->Seleccionado);
    if (!Inicio)
        return;
    btnLinea[2]->SetDown(true);
    auto* t = TAerTubo::Crear(*Lienzo);
    t->SetInicio(Inicio);
    t->SetLinea(lnVerticalHorizontalVertical);
    t->Provisional = Lienzo->PosicionRaton;
    Lienzo->TuboNuevo = t;
    OcultarCinta();
    MostrarPanel(pBorrar);
    MostrarPanel(pLineas);
    Lienzo->Deseleccionar();
    SetModo(mdTubo);
}

void TfrmMain::PBClick() {
    if (Lienzo->Modo == mdTubo && Lienzo->TuboNuevo && !Lienzo->Seleccionado) {
        Lienzo->TuboNuevo->AnadirVertice(Lienzo->PosicionRaton);
        Repintar();
    }
}

void TfrmMain::PBMouseMove() {
    Repintar();
    ActualizarEstado();
    if (Lienzo->TuboNuevo)
        Lienzo->TuboNuevo->Provisional = Lienzo->PosicionRaton;
}

void TfrmMain::PBMouseDown() {
    Repintar();
}

void TfrmMain::btnEnclavarClick() {
    auto* v = dynamic_cast<TAerValvula*>(Lienzo->Seleccionado);
    if (!btnEnclavar->Down()) {
        btnEnclavar->setToolTip(QStringLiteral("Enclava el rodillo a un cilindro"));
        ValvulaEnclavar = nullptr;
        if (v)
            v->SetCilindro(nullptr);
        Repintar();
        Registrar(QStringLiteral("desenclavar ") + Nombrar(v));
        return;
    }
    btnEnclavar->setToolTip(QStringLiteral("Desenclava el rodillo del cilindro"));
    ValvulaEnclavar = v;
    SetModo(mdEnclavar);
}

void TfrmMain::btnAlternarClick() {
    bool Aceptar = true;
    AlSeleccionar(Lienzo->Seleccionado, Aceptar);
}

void TfrmMain::btnLineaClick(int Linea) {
    if (Lienzo->TuboNuevo)
        Lienzo->TuboNuevo->SetLinea(Linea);
    if (auto* v = dynamic_cast<TAerVertice*>(Lienzo->Seleccionado))
        v->SetLinea(Linea);
    Repintar();
    Registrar(QStringLiteral("cambiar el tipo de unión"));
}

} // namespace ventix
