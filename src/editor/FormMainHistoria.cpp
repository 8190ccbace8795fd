#include "editor/FormMain.h"

#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"
#include "editor/Lienzo.h"
#include "editor/Recuperacion.h"
#include "files/ArchivoAer.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>

#include <cmath>
#include <stdexcept>

// The undo history, several elements at once with the clipboard, the
// window's keys, and the recovery file of an unsaved circuit.

namespace ventix {

namespace {

// Where a pasted copy goes when the pointer is not over the canvas: beside
// the originals, far enough to be seen.
constexpr double kDesplazamientoCopia = 5.0;
// Autosave: every minute while there are unsaved changes, and after a step
// when the last write is at least ten seconds old.
constexpr int kAutoguardadoMs = 60000;
constexpr int kEsperaMinimaMs = 10000;

// Merge keys of steps that join while they go on.
enum { fsTexto = 1, fsPista = 2 };

} // namespace

QString TfrmMain::Nombrar(const TAerComponente* e) {
    if (!e)
        return QStringLiteral("el circuito");
    if (!e->GetNombre().empty())
        return QString::fromStdString(e->GetNombre());
    if (e->EsValvula())
        return QStringLiteral("la válvula");
    if (e->EsCilindro())
        return QStringLiteral("el cilindro");
    switch (e->GetTipo()) {
    case TTipoComponente::Presion:
        return QStringLiteral("la fuente de presión");
    case TTipoComponente::Escape:
        return QStringLiteral("el escape");
    case TTipoComponente::ConectorT:
        return QStringLiteral("el conector T");
    case TTipoComponente::ValvulaAnd:
    case TTipoComponente::ValvulaOr:
        return QStringLiteral("la válvula lógica");
    case TTipoComponente::Regulador1:
    case TTipoComponente::Regulador2:
        return QStringLiteral("el regulador");
    case TTipoComponente::TemporizadorNA:
    case TTipoComponente::TemporizadorNC:
        return QStringLiteral("el temporizador");
    case TTipoComponente::TextBox:
        return QStringLiteral("el texto");
    case TTipoComponente::Vertice:
        return QStringLiteral("la unión");
    default:
        return QStringLiteral("el elemento");
    }
}

void TfrmMain::Registrar(const QString& Texto, int Fusion) {
    const TAerComponente* s = Lienzo->Seleccionado;
    if (!s && !Lienzo->Grupo.empty())
        s = Lienzo->Grupo.front();
    Registrar(Texto, TLugarElemento::De(*Lienzo, s), Fusion);
}

void TfrmMain::Registrar(const QString& Texto, TLugarElemento Antes, int Fusion) {
    // A run changes states, not the circuit; a tube being drawn is not part
    // of it yet.
    if (Restaurando || Lienzo->TuboNuevo || Lienzo->Modo >= mdVerificar)
        return;
    ArchivoAer::TInstantanea Ahora = Instantaneas.Escribir(*Lienzo);
    if (Ahora == Ultimo)
        return;
    const TAerComponente* s = Lienzo->Seleccionado;
    if (!s && !Lienzo->Grupo.empty())
        s = Lienzo->Grupo.front();
    auto* Paso = new TCambioCircuito(
        Texto, Ultimo, Ahora, Antes, TLugarElemento::De(*Lienzo, s),
        [this](const ArchivoAer::TInstantanea& l, TLugarElemento p) { Restaurar(l, p); }, Fusion);
    Ultimo = std::move(Ahora);
    Historia.push(Paso);
}

void TfrmMain::Restaurar(const ArchivoAer::TInstantanea& Lineas, TLugarElemento Lugar) {
    Restaurando = true;
    struct Fin {
        bool& b;
        ~Fin() { b = false; }
    } AlAcabar{Restaurando};
    Insertando = false;
    ValvulaEnclavar = nullptr;
    OcultarCinta();
    Lienzo->BorrarCircuito();
    ArchivoAer::Leer(*Lienzo, Lineas.Lineas());
    Ultimo = Lineas;
    Lienzo->Activar();
    SetModo(mdEdicion);
    // The element the step touched, found again in the rebuilt circuit.
    if (auto* e = Lugar.En(*Lienzo)) {
        bool Aceptar = true;
        AlSeleccionar(e, Aceptar);
        if (Aceptar)
            Lienzo->Seleccionar(e);
    }
    Repintar();
}

void TfrmMain::Deshacer() {
    // An element being placed is taken away: that is the step in progress.
    if (Insertando) {
        FormKeyDown(27);
        return;
    }
    if (!Historia.canUndo())
        return;
    if (Lienzo->Modo != mdEdicion && Lienzo->Modo != mdSeleccion)
        SetModo(mdEdicion);
    Historia.undo();
}

void TfrmMain::Rehacer() {
    if (Insertando)
        FormKeyDown(27);
    if (!Historia.canRedo())
        return;
    if (Lienzo->Modo != mdEdicion && Lienzo->Modo != mdSeleccion)
        SetModo(mdEdicion);
    Historia.redo();
}

void TfrmMain::ReiniciarHistoria() {
    Insertando = false;
    Historia.clear();
    Ultimo = Instantaneas.Escribir(*Lienzo);
    Historia.setClean();
}

void TfrmMain::PBMouseUp() {
    if (Lienzo->Modo != mdEdicion && Lienzo->Modo != mdSeleccion)
        return;
    const TAerComponente* s = Lienzo->Seleccionado;
    if (Insertando) {
        Insertando = false;
        Registrar(QStringLiteral("insertar ") + Nombrar(s), TLugarElemento());
        return;
    }
    if (Lienzo->Grupo.size() > 1) {
        MostrarCintaGrupo();
        Registrar(QStringLiteral("mover %1 elementos").arg(Lienzo->Grupo.size()));
    } else {
        Registrar(QStringLiteral("mover ") + Nombrar(s));
    }
}

// Several elements.

void TfrmMain::MostrarCintaGrupo() {
    if (Lienzo->Grupo.size() < 2)
        return;
    MostrarPanel(pBorrar);
    MostrarPanel(pRotar90);
    MostrarPanel(pSimetrico);
}

void TfrmMain::SeleccionarTodo() {
    if (Lienzo->Modo != mdEdicion && Lienzo->Modo != mdSeleccion)
        return;
    std::vector<TAerComponente*> Todo;
    for (TColeccion* Lista : {&Lienzo->Componentes, &Lienzo->Textos})
        for (int i = 0; i < Lista->Count(); ++i)
            Todo.push_back(Lista->ItemComo<TAerComponente>(i));
    if (Todo.empty())
        return;
    Lienzo->ElegirVarios(Todo);
    MostrarCintaGrupo();
    Repintar();
}

void TfrmMain::BorrarGrupo() {
    const auto s = Lienzo->Seleccion();
    const TLugarElemento Antes = TLugarElemento::De(*Lienzo, s.empty() ? nullptr : s.front());
    OcultarCinta();
    Lienzo->BorrarElementos(s);
    Repintar();
    SetModo(mdEdicion);
    Registrar(QStringLiteral("borrar %1 elementos").arg(s.size()), Antes);
}

void TfrmMain::MoverSeleccion(double DX, double DY) {
    if (Lienzo->Modo != mdEdicion && Lienzo->Modo != mdSeleccion)
        return;
    auto s = Lienzo->Seleccion();
    if (s.empty() && Lienzo->Seleccionado && Lienzo->Seleccionado->EsVertice())
        s = {Lienzo->Seleccionado};
    if (s.empty())
        return;
    if (s.size() == 1 && !Lienzo->EsDeNivelSuperior(s.front())) {
        s.front()->X += DX;
        s.front()->Y += DY;
    } else {
        Lienzo->MoverGrupo(s, DX, DY);
    }
    Repintar();
    Registrar(s.size() > 1 ? QStringLiteral("mover %1 elementos").arg(s.size())
                           : QStringLiteral("mover ") + Nombrar(s.front()));
}

// The clipboard.

void TfrmMain::Copiar() {
    const auto s = Lienzo->Seleccion();
    if (s.empty())
        return;
    const auto Lineas = ArchivoAer::EscribirGrupo(*Lienzo, s);
    const std::string Bytes = ArchivoAer::Bytes(Lineas);
    QString Texto;
    for (const auto& l : Lineas)
        Texto += QString::fromStdString(l) + QLatin1Char('\n');
    auto* Datos = new QMimeData;
    Datos->setData(MimeCircuito, QByteArray(Bytes.data(), static_cast<qsizetype>(Bytes.size())));
    Datos->setText(Texto);
    QApplication::clipboard()->setMimeData(Datos);
}

void TfrmMain::Cortar() {
    const auto s = Lienzo->Seleccion();
    if (s.empty() || (Lienzo->Modo != mdEdicion && Lienzo->Modo != mdSeleccion))
        return;
    Copiar();
    const TLugarElemento Antes = TLugarElemento::De(*Lienzo, s.front());
    OcultarCinta();
    Lienzo->BorrarElementos(s);
    Repintar();
    SetModo(mdEdicion);
    Registrar(QStringLiteral("cortar"), Antes);
}

namespace {

// Adds a group to the canvas and moves it: its centre to the point, or by
// the offset when there is no point.
std::vector<TAerComponente*> Anadir(TAerPaintBox& L, const std::vector<std::string>& Lineas,
                                    const TCADCoordenada* Punto) {
    auto Nuevos = ArchivoAer::LeerGrupo(L, Lineas);
    double dx = kDesplazamientoCopia, dy = -kDesplazamientoCopia;
    if (Punto && !Nuevos.empty()) {
        const TCADCoordenada c = TAerPaintBox::CentroGrupo(Nuevos);
        dx = std::nearbyint(2.0 * (Punto->X - c.X)) / 2.0;
        dy = std::nearbyint(2.0 * (Punto->Y - c.Y)) / 2.0;
    }
    L.MoverGrupo(Nuevos, dx, dy);
    return Nuevos;
}

} // namespace

void TfrmMain::Pegar() {
    if (Lienzo->Modo != mdEdicion && Lienzo->Modo != mdSeleccion)
        return;
    const QMimeData* Datos = QApplication::clipboard()->mimeData();
    if (!Datos)
        return;
    std::vector<std::string> Lineas;
    if (Datos->hasFormat(MimeCircuito)) {
        const QByteArray b = Datos->data(MimeCircuito);
        Lineas = ArchivoAer::LineasDe(std::string_view(b.constData(), b.size()));
    } else if (Datos->hasText() && Datos->text().contains(QStringLiteral("<NEUMATICA"))) {
        for (const QString& l : Datos->text().split(QLatin1Char('\n')))
            Lineas.push_back(l.trimmed().isEmpty() ? std::string() : l.toStdString());
    } else {
        return;
    }
    const bool EnLienzo = PB->rect().contains(PB->mapFromGlobal(QCursor::pos()));
    OcultarCinta();
    SetModo(mdEdicion);
    std::vector<TAerComponente*> Nuevos;
    try {
        Nuevos = Anadir(*Lienzo, Lineas, EnLienzo ? &Lienzo->PosicionRaton : nullptr);
    } catch (const ELecturaAer& e) {
        throw std::runtime_error("Lo que hay en el portapapeles no es un circuito que se pueda "
                                 "pegar (" +
                                 std::string(e.what()) + ")");
    }
    if (!Nuevos.empty())
        Lienzo->ElegirVarios(Nuevos);
    MostrarCintaGrupo();
    Repintar();
    Registrar(QStringLiteral("pegar"), TLugarElemento());
}

void TfrmMain::Duplicar() {
    const auto s = Lienzo->Seleccion();
    if (s.empty() || (Lienzo->Modo != mdEdicion && Lienzo->Modo != mdSeleccion))
        return;
    const auto Lineas = ArchivoAer::EscribirGrupo(*Lienzo, s);
    OcultarCinta();
    SetModo(mdEdicion);
    const auto Nuevos = Anadir(*Lienzo, Lineas, nullptr);
    Lienzo->ElegirVarios(Nuevos);
    MostrarCintaGrupo();
    Repintar();
    Registrar(QStringLiteral("duplicar"), TLugarElemento());
}

// Keys.

bool TfrmMain::Atajo(const QKeyEvent& k, bool EnTexto) {
    const int Mayus = Qt::ShiftModifier, Control = Qt::ControlModifier, Ninguno = 0;
    const int m = static_cast<int>(
        (k.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier)).toInt());
    const bool Ctrl = m == Control;
    const bool CtrlMayus = m == (Control | Mayus);
    const int Key = k.key();
    const std::uint8_t Modo = Lienzo->Modo;
    const bool Edicion = Modo == mdEdicion || Modo == mdSeleccion;
    // Keys that work whatever has the focus.
    if (Ctrl && Key == Qt::Key_N && Edicion) {
        btnNewClick();
        return true;
    }
    if (Ctrl && Key == Qt::Key_O && Edicion) {
        btnOpenClick();
        return true;
    }
    if ((Ctrl || CtrlMayus) && Key == Qt::Key_S && Modo != mdTubo) {
        btnSaveClick();
        return true;
    }
    if (Ctrl && Key == Qt::Key_E && btnImagen->isEnabled()) {
        btnImagenClick();
        return true;
    }
    if ((Ctrl || CtrlMayus) && (Key == Qt::Key_Plus || Key == Qt::Key_Equal)) {
        btnZoomMasClick();
        return true;
    }
    if (Ctrl && Key == Qt::Key_Minus) {
        btnZoomMenosClick();
        return true;
    }
    if (Ctrl && Key == Qt::Key_0) {
        btnZoomExtensionClick();
        return true;
    }
    if (m == Ninguno && Key == Qt::Key_F5) {
        if (Edicion) {
            SetModo(mdEdicion);
            btnCheckClick();
        }
        return true;
    }
    if (m == Mayus && Key == Qt::Key_F5) {
        if (btnStop->isEnabled())
            btnStopClick();
        return true;
    }
    if (m == Ninguno && Key == Qt::Key_F6) {
        if (Edicion) {
            SetModo(mdEdicion);
            btnCheckClick();
        }
        if (Lienzo->Modo == mdEjecutar)
            btnPauseClick();
        else if (btnPlay->isEnabled())
            btnPlayClick();
        return true;
    }
    if (m == Ninguno && Key == Qt::Key_F7) {
        if (btnStep->isEnabled())
            btnStepClick();
        return true;
    }
    // The rest belong to a text box while it has the focus.
    if (EnTexto)
        return false;
    if ((Ctrl && Key == Qt::Key_Z)) {
        Deshacer();
        return true;
    }
    if ((Ctrl && Key == Qt::Key_Y) || (CtrlMayus && Key == Qt::Key_Z)) {
        Rehacer();
        return true;
    }
    if (Ctrl && Key == Qt::Key_C) {
        Copiar();
        return true;
    }
    if (Ctrl && Key == Qt::Key_X) {
        Cortar();
        return true;
    }
    if (Ctrl && Key == Qt::Key_V) {
        Pegar();
        return true;
    }
    if (Ctrl && Key == Qt::Key_D) {
        Duplicar();
        return true;
    }
    if (Ctrl && Key == Qt::Key_A) {
        SeleccionarTodo();
        return true;
    }
    if ((m == Ninguno) && (Key == Qt::Key_Delete || Key == Qt::Key_Backspace)) {
        if (Modo == mdTubo || (Edicion && Lienzo->Grupo.empty() && Lienzo->Seleccionado))
            btnBorrarClick();
        else if (Edicion && !Lienzo->Grupo.empty())
            BorrarGrupo();
        return true;
    }
    if ((m == Ninguno || m == Mayus) &&
        (Key == Qt::Key_Left || Key == Qt::Key_Right || Key == Qt::Key_Up || Key == Qt::Key_Down)) {
        const double Paso = m == Mayus ? 5.0 : 0.5;
        const double dx = Key == Qt::Key_Left ? -Paso : Key == Qt::Key_Right ? Paso : 0.0;
        const double dy = Key == Qt::Key_Down ? -Paso : Key == Qt::Key_Up ? Paso : 0.0;
        MoverSeleccion(dx, dy);
        return true;
    }
    return false;
}

// Autosave and recovery.

void TfrmMain::ProgramarAutoguardado() {
    if (!Recuperacion)
        return;
    // Back to the saved circuit (undone to it, or saved): nothing to recover.
    if (!Modificado()) {
        EsperaAutoguardado.stop();
        Recuperacion->Quitar();
        return;
    }
    if (!UltimoAutoguardado.isValid() || UltimoAutoguardado.elapsed() >= kEsperaMinimaMs) {
        Autoguardar();
        return;
    }
    if (!EsperaAutoguardado.isActive())
        EsperaAutoguardado.start(static_cast<int>(kEsperaMinimaMs - UltimoAutoguardado.elapsed()));
}

void TfrmMain::Autoguardar() {
    if (!Recuperacion)
        return;
    if (!Modificado()) {
        Recuperacion->Quitar();
        return;
    }
    // Without a tube being drawn: the lines of the circuit as it stands.
    Recuperacion->Escribir(ArchivoAer::Escribir(*Lienzo));
    UltimoAutoguardado.start();
}

void TfrmMain::OfrecerRecuperacion() {
    if (!Recuperacion)
        return;
    for (const QString& Archivo : Recuperacion->Abandonados()) {
        const QString Texto = QStringLiteral("Se ha encontrado un circuito que no se guardó al "
                                             "cerrar Ventix. ¿Desea recuperarlo?");
        const bool Si = Preguntar ? Preguntar(Texto)
                                  : QMessageBox::question(this, QStringLiteral("Ventix"), Texto,
                                                          QMessageBox::Yes | QMessageBox::No,
                                                          QMessageBox::Yes) == QMessageBox::Yes;
        if (Si) {
            // The file dialogs keep to the user's folder, not the hidden one
            // of the recovery files.
            const QString Anterior = Carpeta;
            AbrirArchivo(std::filesystem::u8path(Archivo.toStdString()));
            Carpeta = Anterior;
            // An unsaved circuit: the question before closing stays, and the
            // next write keeps it in this window's own file.
            Historia.resetClean();
            Recuperacion->Descartar(Archivo);
            Autoguardar();
            return;
        }
        Recuperacion->Descartar(Archivo);
    }
}

} // namespace ventix
