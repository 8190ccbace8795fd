#include "editor/FormMain.h"

#include "circuit/AerConexion.h"
#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"
#include "editor/FormErrores.h"
#include "editor/Lienzo.h"
#include "editor/PanelCinta.h"
#include "editor/PanelSimulacion.h"
#include "foundation/Numeros.h"
#include "sim/SimCircuito.h"

#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include <algorithm>
#include <cmath>

// Modes of the window, the ribbon and the status bar.

namespace ventix {

namespace {

// Value x 100 rounded half to even, as the track bar shows it.
int Posicion(double v) {
    return static_cast<int>(std::nearbyint(v * 100.0));
}

} // namespace

void TfrmMain::SetModo(std::uint8_t Modo) {
    if (Modo == Lienzo->Modo && Modo != mdEdicion)
        return;
    Lienzo->Modo = Modo;
    switch (Modo) {
    case mdEdicion:
        NumErrores = 0;
        ActualizarEstado();
        OcultarCinta();
        Lienzo->Deseleccionar();
        Lienzo->TuboNuevo = nullptr;
        LiberarSimulacion();
        pHerramientas->show();
        for (auto* b : {btnNew, btnOpen, btnSave, btnImagen})
            b->setEnabled(true);
        btnEditCom->PermitirArriba = true;
        btnCheck->setEnabled(true);
        btnErrores->setEnabled(true);
        btnEditCom->setEnabled(true);
        btnEditCom->SetDown(true);
        for (auto* b : {btnPlay, btnStep, btnPause, btnStop})
            b->setEnabled(false);
        for (auto* b :
             {btnShowConexiones, btnShowVertices, btnShowEstrellas, btnShowEnclavamientos})
            b->setEnabled(true);
        btnShowPresiones->setEnabled(false);
        break;
    case mdSeleccion:
        pCinta->SetCaption({});
        pHerramientas->show();
        btnCheck->setEnabled(false);
        btnEditCom->SetDown(false);
        for (auto* b : {btnNew, btnOpen, btnSave})
            b->setEnabled(false);
        btnImagen->setEnabled(true);
        break;
    case mdTubo:
        pHerramientas->hide();
        for (auto* b :
             {btnShowConexiones, btnShowVertices, btnShowEstrellas, btnShowEnclavamientos})
            b->setEnabled(false);
        break;
    case mdEnclavar:
        pHerramientas->hide();
        OcultarCinta();
        pCinta->SetCaption(QStringLiteral("Haz click en un cilindro al que enclavar la válvula "
                                          "seleccionada o en cualquier otro sitio para cancelar."));
        break;
    case mdVerificar:
        pHerramientas->hide();
        for (auto* b : {btnNew, btnOpen, btnSave})
            b->setEnabled(false);
        btnImagen->setEnabled(true);
        for (auto* b :
             {btnShowConexiones, btnShowVertices, btnShowEstrellas, btnShowEnclavamientos})
            b->setEnabled(false);
        btnCheck->PermitirArriba = false;
        btnCheck->setEnabled(true);
        btnCheck->SetDown(true);
        EntrarVerificar();
        break;
    case mdEjecutar:
        btnEditCom->setEnabled(false);
        btnErrores->setEnabled(false);
        frmErrores->hide();
        btnPlay->setEnabled(true);
        btnStep->setEnabled(false);
        btnPause->setEnabled(true);
        btnStop->setEnabled(true);
        btnPlay->SetDown(true);
        btnImagen->setEnabled(false);
        EntrarEjecutar();
        break;
    case mdPausa:
        for (auto* b : {btnPlay, btnStep, btnPause, btnStop})
            b->setEnabled(true);
        btnPause->SetDown(true);
        btnImagen->setEnabled(true);
        break;
    case mdParado:
        NumErrores = 0;
        ActualizarEstado();
        for (auto* b : {btnEditCom, btnErrores, btnPlay, btnStep})
            b->setEnabled(true);
        btnPause->setEnabled(false);
        btnStop->setEnabled(true);
        btnStop->SetDown(true);
        btnImagen->setEnabled(true);
        btnShowPresiones->setEnabled(true);
        EntrarParado();
        break;
    default:
        break;
    }
    btnImprimir->setEnabled(btnImagen->isEnabled());
    Repintar();
}

namespace {

constexpr int kFilaCinta = 36;

// Where the next panel of the ribbon goes: after the last one of the last
// row, or at the start of a new row when it would not be seen whole.
QPoint SiguienteEnCinta(const std::vector<QFrame*>& Visibles, int Ancho, int AnchoCinta) {
    int Top = 1, Left = 0;
    for (auto* p : Visibles)
        Top = std::max(Top, p->y());
    for (auto* p : Visibles)
        if (p->y() == Top)
            Left = std::max(Left, p->x() + p->width());
    if (Left > 0 && Left + Ancho > AnchoCinta)
        return {0, Top + kFilaCinta};
    return {Left, Top};
}

} // namespace

void TfrmMain::MostrarPanel(QFrame* Panel) {
    if (!Panel->isHidden())
        return;
    Panel->move(SiguienteEnCinta(PanelesVisibles(), Panel->width(), pCinta->width()));
    Panel->show();
    AcomodarCinta();
}

// The ribbon grows by a row for every row its panels wrap into, so that every
// tool can be reached however narrow the window is.
void TfrmMain::AcomodarCinta() {
    int Alto = 37;
    for (auto* p : PanelesVisibles())
        Alto = std::max(Alto, p->y() + p->height() + 1);
    pCinta->setFixedHeight(Alto);
}

std::vector<QFrame*> TfrmMain::PanelesVisibles() const {
    std::vector<QFrame*> r;
    for (auto* p : pCinta->findChildren<QFrame*>(Qt::FindDirectChildrenOnly))
        if (!p->isHidden())
            r.push_back(p);
    std::sort(r.begin(), r.end(), [](QFrame* a, QFrame* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    return r;
}

void TfrmMain::PonerNumero(QLineEdit* Ed, double v) {
    const QString Texto = QString::fromStdString(NumeroATexto(v));
    // A repaint while the user edits the same number leaves the cursor alone.
    if (Ed->hasFocus() && Ed->text() == Texto)
        return;
    // setText leaves the cursor at the end, which scrolls a long number so
    // that only its last digits show.
    Ed->setText(Texto);
    Ed->setCursorPosition(0);
}

void TfrmMain::EscribirCoordenadas() {
    if (auto* s = Lienzo->Seleccionado) {
        PonerNumero(edX, s->X);
        PonerNumero(edY, s->Y);
    } else {
        edX->setText(QStringLiteral("0"));
        edY->setText(QStringLiteral("0"));
    }
}

void TfrmMain::OcultarCinta() {
    EscribirCoordenadas();
    edXKeyPress(13);
    edYKeyPress(13);
    for (auto* p : pCinta->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        p->hide();
    AcomodarCinta();
}

void TfrmMain::ActualizarEstado() {
    const auto& P = Lienzo->PosicionRaton;
    StatusBar1[0]->setText(QString::asprintf(" (%.2f, %.2f)", P.X, P.Y));
    StatusBar1[1]->setText(QString::asprintf(" Zoom = %.4f", Lienzo->Zoom));
    if (NumErrores < 1)
        StatusBar1[3]->clear();
    else if (NumErrores == 1)
        StatusBar1[3]->setText(QString::asprintf(" %d Error detectado", NumErrores));
    else
        StatusBar1[3]->setText(QString::asprintf(" %d Errores detectados", NumErrores));
}

bool TfrmMain::Disponible(const TAerComponente* C) const {
    auto* k = dynamic_cast<const TAerConexion*>(C);
    return k && k->MostrarMarca();
}

void TfrmMain::AlResaltar(TAerComponente* e, bool& Permitido) {
    Permitido = false;
    switch (Lienzo->Modo) {
    case mdEdicion:
    case mdSeleccion:
        if (e->EsConexion())
            Permitido = Disponible(e) && Lienzo->MostrarConexiones;
        else if (e->EsVertice())
            Permitido = Lienzo->MostrarVertices;
        else
            Permitido = true;
        break;
    case mdTubo:
        Permitido = e->EsConexion() && Disponible(e);
        break;
    case mdEnclavar:
        Permitido = e->EsCilindro();
        break;
    default:
        break;
    }
}

void TfrmMain::MostrarVertice(int Linea) {
    if (Linea >= 0 && Linea < 5)
        btnLinea[Linea]->SetDown(true);
}

void TfrmMain::AlSeleccionar(TAerComponente* e, bool& Aceptar) {
    OcultarCinta();
    const std::uint8_t Modo = Lienzo->Modo;
    if (!e && Modo == mdTubo) {
        MostrarPanel(pBorrar);
        MostrarPanel(pLineas);
        Aceptar = false;
        return;
    }
    if (Modo == mdEnclavar) {
        TAerValvula* v = ValvulaEnclavar;
        if (v)
            v->SetCilindro(e);
        ValvulaEnclavar = nullptr;
        SetModo(mdSeleccion);
        Aceptar = false;
        if (v)
            Registrar(QStringLiteral("enclavar ") + Nombrar(v), TLugarElemento::De(*Lienzo, v));
        return;
    }
    if (!e) {
        SetModo(mdEdicion);
        return;
    }
    if (e->EsConexion()) {
        if (!Disponible(e)) {
            Aceptar = false;
            return;
        }
        if (Modo == mdTubo) {
            auto* k = static_cast<TAerConexion*>(e);
            if (auto* t = Lienzo->TuboNuevo) {
                t->SetFin(k);
                t->AnadirVertice({k->XMundo, k->YMundo});
                Lienzo->MarcarTubosControl();
            }
            Lienzo->TuboNuevo = nullptr;
            Aceptar = false;
            SetModo(mdEdicion);
            Registrar(QStringLiteral("unir ") + Nombrar(k->GetPadre()), TLugarElemento());
            return;
        }
        MostrarPanel(pCrearTubo);
    }
    if (Modo == mdTubo) {
        MostrarPanel(pBorrar);
        MostrarPanel(pLineas);
        Aceptar = false;
        return;
    }

    const bool Alterna = btnAlternar->Down();
    auto VistaAlterna = [&](bool ConSimetrico) {
        MostrarPanel(pCoordenadas);
        MostrarPanel(pRotar90);
        if (ConSimetrico)
            MostrarPanel(pSimetrico);
        MostrarPanel(pNombre);
        MostrarPanel(pLinkTexto);
    };
    // Filling the ribbon must not write the rounded position back into the
    // element (as it would when the alternate view is toggled).
    auto Pista = [&](double v, const char* Hint) {
        const QSignalBlocker Bloqueo(TrackBar);
        TrackBar->setValue(Posicion(v));
        TrackBar->setToolTip(QString::fromUtf8(Hint));
        btnSimetrico->SetDown(e->Simetrico);
    };
    if (e->EsValvula()) {
        auto* v = static_cast<TAerValvula*>(e);
        Pista(v->Valor, "Posición en la que está enclavado respecto al cilindro");
        MostrarPanel(pBorrar);
        MostrarPanel(pAlternar);
        const TActuador a = v->GetActuador();
        if (Alterna)
            VistaAlterna(true);
        else {
            MostrarPanel(pValvula);
            MostrarPanel(pIzqDer);
            MostrarPanel(pActuador);
            if (a == TActuador::Pilotado || a == TActuador::Rele)
                MostrarPanel(pMuelle);
            if (a == TActuador::Rodillo || a == TActuador::Escamoteable) {
                MostrarPanel(pEnclavar);
                MostrarPanel(pTrack);
            }
            if (a == TActuador::Escamoteable)
                MostrarPanel(pIdaVuelta);
        }
        (v->Sentido == TSentido::Avance ? btnAvance : btnRetroceso)->SetDown(true);
        btnEnclavar->SetDown(v->GetCilindro() != nullptr);
        btnEnclavar->setToolTip(btnEnclavar->Down()
                                    ? QStringLiteral("Desenclava el rodillo del cilindro")
                                    : QStringLiteral("Enclava el rodillo a un cilindro"));
        btnMuelle->SetDown(v->GetMonoestable());
        TBotonRapido* Tipos[5] = {btnValvula22NA, btnValvula22NC, btnValvula32NA, btnValvula32NC,
                                  btnValvula52};
        Tipos[NumeroTipo(v->GetTipo()) - 2]->SetDown(true);
        TBotonRapido* Act[5] = {btnPilotado, btnRele, btnSeta, btnRodillo, btnEscamoteable};
        Act[static_cast<int>(a)]->SetDown(true);
        (v->GetParametro() >= 0.5 ? btnValvulaPosicion1 : btnValvulaPosicion0)->SetDown(true);
    } else if (e->EsCilindro()) {
        Pista(e->GetParametro(), "Posición de avance del cilindro");
        MostrarPanel(pBorrar);
        MostrarPanel(pAlternar);
        if (Alterna)
            VistaAlterna(true);
        else {
            MostrarPanel(pCilindro);
            MostrarPanel(pTrack);
        }
        (e->GetTipo() == TTipoComponente::CilindroSimple ? btnCilindroSimple : btnCilindroDoble)
            ->SetDown(true);
    } else if (e->EsLogica()) {
        MostrarPanel(pBorrar);
        MostrarPanel(pAlternar);
        if (Alterna)
            VistaAlterna(false);
        else
            MostrarPanel(pLogica);
        (e->GetTipo() == TTipoComponente::ValvulaAnd ? btnValvulaAnd : btnValvulaOr)->SetDown(true);
    } else if (e->EsRegulador() || e->EsTemporizador()) {
        const bool Reg = e->EsRegulador();
        Pista(e->Valor,
              Reg ? "Posición del regulador (izq = totalmente cerrado, der = totalmente abierto)"
                  : "Posición del Temporizador (izq = tiempo corto, der = tiempo largo)");
        MostrarPanel(pBorrar);
        MostrarPanel(pAlternar);
        if (Alterna)
            VistaAlterna(true);
        else {
            MostrarPanel(Reg ? pRegulador : pTemporizador);
            MostrarPanel(pTrack);
        }
        const int t = NumeroTipo(e->GetTipo());
        TBotonRapido* b[4] = {btnRegulador1, btnRegulador2, btnTemporizadorNA, btnTemporizadorNC};
        b[t - 11]->SetDown(true);
    } else if (e->EsPresion() || e->EsEscape() || e->EsConectorT()) {
        MostrarPanel(pBorrar);
        MostrarPanel(pCoordenadas);
        MostrarPanel(pRotar90);
        MostrarPanel(pNombre);
        MostrarPanel(pLinkTexto);
    } else if (auto* t = dynamic_cast<TAerTexto*>(e)) {
        MostrarPanel(pBorrar);
        MostrarPanel(pCoordenadas);
        MostrarPanel(pRotar90);
        MostrarPanel(pTexto);
        {
            const QSignalBlocker Bloqueo(edTexto);
            edTexto->setText(QString::fromStdString(t->Cadena));
        }
        const std::uint8_t Est = t->GetEstilo();
        btnNegrita->SetDown(Est & etNegrita);
        btnItalica->SetDown(Est & etItalica);
        btnSubrayada->SetDown(Est & etSubrayada);
        btnTachada->SetDown(Est & etTachada);
        PonerNumero(edSize, t->GetTamano());
        ColorTexto = t->ColorTexto;
        btnColor->setStyleSheet(
            QStringLiteral("background: %1; border: 1px solid #808080;").arg(ColorTexto.name()));
    } else if (e->EsVertice()) {
        Aceptar = Lienzo->MostrarVertices && Modo < mdTubo;
        if (Aceptar) {
            MostrarPanel(pBorrar);
            MostrarPanel(pCoordenadas);
            MostrarPanel(pLineas);
            MostrarPanel(pVertices);
            MostrarVertice(static_cast<TAerVertice*>(e)->GetLinea());
        }
    }
    if (!pNombre->isHidden())
        edNombre->setText(QString::fromStdString(e->GetNombre()));
    SetModo(Aceptar ? mdSeleccion : mdEdicion);
}

void TfrmMain::PBPaint() {
    if (auto* s = Lienzo->Seleccionado) {
        PonerNumero(edX, s->X);
        PonerNumero(edY, s->Y);
    }
}

void TfrmMain::FormResize() {
    // The panels shown are laid out again, in their order, when they wrap or
    // no longer fit the new width.
    std::vector<QFrame*> Visibles = PanelesVisibles();
    const bool Acomodar = std::any_of(Visibles.begin(), Visibles.end(), [this](QFrame* p) {
        return p->y() > 1 || p->x() + p->width() > pCinta->width();
    });
    if (Acomodar) {
        for (auto* p : Visibles)
            p->hide();
        for (auto* p : Visibles)
            MostrarPanel(p);
    }
    StatusBar1[2]->setText(QStringLiteral(" %1x%2").arg(PB->width()).arg(PB->height()));
}

void TfrmMain::FormKeyDown(int Key) {
    if (Key != 27 || Lienzo->Modo >= mdEnclavar)
        return;
    // An element being placed is taken away.
    if (Insertando) {
        Insertando = false;
        Lienzo->BorrarSeleccion();
    }
    OcultarCinta();
    Lienzo->Deseleccionar();
    Lienzo->BorrarSeleccion();
    Repintar();
    SetModo(mdEdicion);
}

void TfrmMain::FormMouseWheel(int Delta, const QPoint& Pos) {
    if (!rect().contains(Pos))
        return;
    Lienzo->ZoomRueda(Lienzo->PosicionRaton, Delta);
    Repintar();
    ActualizarEstado();
}

namespace {

TCADCoordenada CentroCliente(const TCADPaintBox& V) {
    const QRect& c = V.GetCliente();
    return V.PantallaAMundo(QPoint(c.width() / 2, c.height() / 2));
}

} // namespace

void TfrmMain::btnZoomMasClick() {
    const TCADCoordenada c = CentroCliente(*Lienzo);
    Lienzo->AcercarZoom();
    Lienzo->Centrar(c.X, c.Y);
    Repintar();
    ActualizarEstado();
}

void TfrmMain::btnZoomMenosClick() {
    const TCADCoordenada c = CentroCliente(*Lienzo);
    Lienzo->AlejarZoom();
    Lienzo->Centrar(c.X, c.Y);
    Repintar();
    ActualizarEstado();
}

void TfrmMain::btnZoom1Click() {
    const TCADCoordenada c = CentroCliente(*Lienzo);
    Lienzo->SetZoom(1.0);
    Lienzo->Centrar(c.X, c.Y);
    Repintar();
    ActualizarEstado();
}

void TfrmMain::btnZoomExtensionClick() {
    Lienzo->AjustarVista();
    Repintar();
    ActualizarEstado();
}

void TfrmMain::btnShowClick() {
    OcultarCinta();
    CopiarMostrar();
    Lienzo->Deseleccionar();
    Repintar();
}

void TfrmMain::CopiarMostrar() {
    auto& L = *Lienzo;
    L.MostrarConexiones = btnShowConexiones->Down();
    L.MostrarVertices = btnShowVertices->Down();
    L.MostrarEstrellas = btnShowEstrellas->Down();
    L.MostrarTextos = btnShowTextos->Down();
    L.MostrarEnclavamientos = btnShowEnclavamientos->Down();
    L.MostrarTubosControl = btnShowTubosControl->Down();
    L.MostrarPresiones = btnShowPresiones->Down();
}

} // namespace ventix
