#include "editor/FormMain.h"

#include "editor/AcercaDe.h"
#include "editor/Aplicacion.h"
#include "editor/FormErrores.h"
#include "editor/Glifos.h"
#include "editor/Lienzo.h"
#include "editor/PanelCinta.h"
#include "editor/Recuperacion.h"
#include "sim/SimCircuito.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShortcut>
#include <QSlider>
#include <QStatusBar>

// Creation and layout of the main window.

namespace ventix {

namespace {

// Handlers never let an exception into Qt's signal code: it is shown where
// it is raised, as the application's handler would.
template <class F> void AlPulsar(QAbstractButton* Boton, QObject* Contexto, F Manejador) {
    QObject::connect(Boton, &QAbstractButton::clicked, Contexto,
                     [Manejador] { Proteger(Manejador); });
}

// The caption of an insert button when the catalogue has no symbol for it.
QString Rotulo(TTipoComponente t) {
    switch (t) {
    case TTipoComponente::Presion:
        return QStringLiteral("P");
    case TTipoComponente::Escape:
        return QStringLiteral("E");
    case TTipoComponente::ConectorT:
        return QStringLiteral("T");
    case TTipoComponente::Valvula32NC:
        return QStringLiteral("Válvula");
    case TTipoComponente::CilindroDoble:
        return QStringLiteral("Cilindro");
    case TTipoComponente::ValvulaAnd:
        return QStringLiteral("Lógica");
    case TTipoComponente::Regulador2:
        return QStringLiteral("Regulador");
    default:
        return QStringLiteral("Temporizador");
    }
}

QFrame* Grupo(QWidget* Padre, int Left, int Width) {
    auto* f = new QFrame(Padre);
    f->setGeometry(Left, 0, Width, 35);
    return f;
}

} // namespace

TfrmMain::TfrmMain(const std::filesystem::path& Catalogo) : QWidget(nullptr) {
    setWindowTitle(QStringLiteral("Ventix"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    Lienzo = std::make_unique<TAerPaintBox>();

    auto* Vertical = new QVBoxLayout(this);
    Vertical->setContentsMargins(0, 0, 0, 0);
    Vertical->setSpacing(0);
    pMenu = new QFrame(this);
    pMenu->setFixedHeight(35);
    pCinta = new TPanelCinta(this);
    pCinta->setFixedHeight(37);
    auto* Centro = new QHBoxLayout;
    Centro->setSpacing(0);
    pCintaLateral = new QFrame(this);
    pCintaLateral->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pCintaLateral->setFixedWidth(86);
    PB = new TLienzo(this, *Lienzo);
    Centro->addWidget(pCintaLateral);
    Centro->addWidget(CrearAreaLienzo(), 1);
    auto* Estado = new QStatusBar(this);
    Estado->setFixedHeight(19);
    Estado->setSizeGripEnabled(false);
    const int Anchos[4] = {120, 100, 80, 50};
    for (int i = 0; i < 4; ++i) {
        StatusBar1[i] = new QLabel(Estado);
        StatusBar1[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i < 3)
            StatusBar1[i]->setFixedWidth(Anchos[i]);
        else
            StatusBar1[i]->setMinimumWidth(Anchos[i]);
        Estado->addWidget(StatusBar1[i], i == 3 ? 1 : 0);
    }
    StatusBar1[2]->setText(QStringLiteral(" 640x480"));
    Vertical->addWidget(pMenu);
    Vertical->addWidget(pCinta);
    Vertical->addLayout(Centro, 1);
    Vertical->addWidget(Estado);

    CrearBarra();
    CrearLateral();
    CrearPaneles();

    // Client size: a canvas of 1000 x 620, where a textbook circuit fits at a
    // readable size, within the screen.
    QSize Tamano(pCintaLateral->width() + 1000, pMenu->height() + pCinta->height() + 620 + 19);
    if (auto* s = QGuiApplication::primaryScreen())
        Tamano = Tamano.boundedTo(s->availableGeometry().size() * 0.9);
    resize(Tamano);
    if (auto* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());

    Lienzo->OnPintar = [this](TCADPaintBox&) { PBPaint(); };
    Lienzo->OnSeleccionar = [this](TAerComponente* e, bool& a) { AlSeleccionar(e, a); };
    Lienzo->OnResaltar = [this](TAerComponente* e, bool& a) { AlResaltar(e, a); };
    Lienzo->OnMouseDown = [this](Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        PBMouseDown();
    };
    Lienzo->OnMouseMove = [this](Qt::KeyboardModifiers, int, int) { PBMouseMove(); };
    Lienzo->BotonPaneo = Qt::RightButton;
    PB->OnClick = [this] { PBClick(); };
    Lienzo->OnMouseUp = [this](Qt::MouseButton, Qt::KeyboardModifiers, int, int) { PBMouseUp(); };

    // Problems of the catalogue are shown once the window is up; the window
    // works with whatever loaded.
    Lienzo->Libreria.Cargar(Catalogo);
    CrearLateral();
    for (auto* b : {btnValvula22NA, btnValvula22NC, btnValvula32NA, btnValvula32NC, btnValvula52,
                    btnCilindroSimple, btnCilindroDoble, btnValvulaAnd, btnValvulaOr, btnRegulador1,
                    btnRegulador2, btnTemporizadorNA, btnTemporizadorNC}) {
        const QIcon i = GlifoSimbolo(Lienzo->Libreria, static_cast<TTipoComponente>(b->Tag),
                                     b->width() - 6, 20);
        if (!i.isNull()) {
            b->setIcon(i);
            b->setIconSize(QSize(b->width() - 6, 20));
            b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        }
    }
    const TTipoComponente Actuadores[5] = {
        TTipoComponente::ActuadorPilotadoIzquierdo, TTipoComponente::ActuadorReleIzquierdo,
        TTipoComponente::ActuadorSeta, TTipoComponente::ActuadorRodillo,
        TTipoComponente::ActuadorEscamoteable};
    for (auto* b : {btnPilotado, btnRele, btnSeta, btnRodillo, btnEscamoteable}) {
        const QIcon i = GlifoSimbolo(Lienzo->Libreria, Actuadores[b->Tag], 24, 18);
        if (!i.isNull()) {
            b->setIcon(i);
            b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        }
    }

    Lienzo->Arrastre = arSeleccion;
    ActuadorInicial = 2;
    btnSeta->SetDown(true);
    CopiarMostrar();
    Lienzo->Modo = mdEdicion;
    Lienzo->Activar();
    NumErrores = 0;

    frmErrores = std::make_unique<TfrmErrores>();

    // The undo history: its buttons name the next step and are greyed when
    // there is none; every step may be written to the recovery file.
    Historia.setUndoLimit(0);
    ReiniciarHistoria();
    btnDeshacer->setEnabled(false);
    btnRehacer->setEnabled(false);
    connect(&Historia, &QUndoStack::canUndoChanged, btnDeshacer, &QWidget::setEnabled);
    connect(&Historia, &QUndoStack::canRedoChanged, btnRehacer, &QWidget::setEnabled);
    connect(&Historia, &QUndoStack::undoTextChanged, this, [this](const QString& t) {
        btnDeshacer->setToolTip(t.isEmpty() ? QStringLiteral("Deshacer (Ctrl+Z)")
                                            : QStringLiteral("Deshacer: %1 (Ctrl+Z)").arg(t));
    });
    connect(&Historia, &QUndoStack::redoTextChanged, this, [this](const QString& t) {
        btnRehacer->setToolTip(t.isEmpty() ? QStringLiteral("Rehacer (Ctrl+Y)")
                                           : QStringLiteral("Rehacer: %1 (Ctrl+Y)").arg(t));
    });
    connect(&Historia, &QUndoStack::indexChanged, this,
            [this] { Proteger([this] { ProgramarAutoguardado(); }); });
    connect(&Historia, &QUndoStack::cleanChanged, this,
            [this] { Proteger([this] { ProgramarAutoguardado(); }); });
    RelojAutoguardado.setInterval(60000);
    connect(&RelojAutoguardado, &QTimer::timeout, this,
            [this] { Proteger([this] { Autoguardar(); }); });
    RelojAutoguardado.start();
    EsperaAutoguardado.setSingleShot(true);
    connect(&EsperaAutoguardado, &QTimer::timeout, this,
            [this] { Proteger([this] { Autoguardar(); }); });

    qApp->installEventFilter(this);
}

TfrmMain::~TfrmMain() {
    qApp->removeEventFilter(this);
    Historia.disconnect();
    LiberarSimulacion();
}

void TfrmMain::CrearBarra() {
    auto Boton = [](QWidget* g, int Left, const char* Glif, const QString& Hint) {
        auto* b = new TBotonRapido(g, Left, 5, 25, 25, Hint);
        b->setIcon(Glifo(QString::fromLatin1(Glif)));
        return b;
    };
    QFrame* Panel3 = Grupo(pMenu, 0, 110);
    btnNew = Boton(Panel3, 5, "nuevo", "Nuevo Circuito (Ctrl+N)");
    btnOpen = Boton(Panel3, 30, "abrir", "Abre un Circuito (Ctrl+O)");
    btnSave = Boton(Panel3, 55, "guardar", "Guarda el Circuito (Ctrl+S, Ctrl+Mayús+S)");
    btnImagen = Boton(Panel3, 80, "imagen", "Guarda una imagen del Circuito (Ctrl+E)");
    QFrame* pZoom = Grupo(pMenu, 110, 110);
    btnZoomMas = Boton(pZoom, 5, "zoommas", "Ampliar (Ctrl++)");
    btnZoomMenos = Boton(pZoom, 30, "zoommenos", "Reducir (Ctrl+-)");
    btnZoom1 = Boton(pZoom, 55, "zoom1", "Ver Todo");
    btnZoomExtension = Boton(pZoom, 80, "zoomext", "Ver Todo (Ctrl+0)");
    QFrame* Panel4 = Grupo(pMenu, 220, 200);
    btnEditCom = Boton(Panel4, 5, "editar", "Edición del Circuito");
    btnCheck = Boton(Panel4, 30, "verificar", "Verifica el Circuito (F5)");
    btnErrores = Boton(Panel4, 55, "errores", "Muestra la última ventada de Errores");
    btnPlay = Boton(Panel4, 95, "play", "Ejecuta la Simulación (F6)");
    btnStep = Boton(Panel4, 120, "paso", "Ejecuta un paso de la Simulación (F7)");
    btnPause = Boton(Panel4, 145, "pausa", "Pausa la Simulación (F6)");
    btnStop = Boton(Panel4, 170, "stop", "Detiene la Simulación (Mayús+F5)");
    btnEditCom->SetGrupo(1, true);
    btnCheck->SetGrupo(1, true);
    btnEditCom->SetDown(true);
    for (auto* b : {btnPlay, btnPause, btnStop})
        b->SetGrupo(2, false);
    for (auto* b : {btnPlay, btnStep, btnPause, btnStop})
        b->setEnabled(false);
    QFrame* Panel5 = Grupo(pMenu, 420, 190);
    btnShowConexiones = Boton(Panel5, 5, "conexiones", "Mostrar Conexiones");
    btnShowVertices = Boton(Panel5, 30, "vertices", "Mostrar Vértices");
    btnShowEstrellas = Boton(Panel5, 55, "estrellas", "Mostrar la Marca de los Textos");
    btnShowEnclavamientos =
        Boton(Panel5, 80, "enclavamientos", "Mostrar Enclavamientos de Cilindros");
    btnShowTextos = Boton(Panel5, 105, "textos", "Mostrar Textos");
    btnShowTubosControl = Boton(Panel5, 130, "tuboscontrol", "Mostrar tubos de control");
    btnShowPresiones = Boton(Panel5, 155, "presiones", "Mostrar presiones con colores");
    const std::pair<TBotonRapido*, int> Propios[] = {
        {btnShowConexiones, 1},     {btnShowVertices, 2}, {btnShowEstrellas, 3},
        {btnShowEnclavamientos, 5}, {btnShowTextos, 4},   {btnShowTubosControl, 6},
        {btnShowPresiones, 7}};
    for (auto [b, g] : Propios) {
        b->SetGrupo(g, true);
        b->SetDown(true);
        AlPulsar(b, this, [this] { btnShowClick(); });
    }
    btnShowPresiones->setEnabled(false);
    QFrame* pHistoria = Grupo(pMenu, 610, 60);
    btnDeshacer = Boton(pHistoria, 5, "deshacer", "Deshacer (Ctrl+Z)");
    btnRehacer = Boton(pHistoria, 30, "rehacer", "Rehacer (Ctrl+Y)");
    AlPulsar(btnDeshacer, this, [this] { Deshacer(); });
    AlPulsar(btnRehacer, this, [this] { Rehacer(); });
    QFrame* pImprimir = Grupo(pMenu, 675, 35);
    btnImprimir = Boton(pImprimir, 5, "imprimir", "Imprime el Circuito (Ctrl+P)");
    btnAbout = new TBotonRapido(pMenu, 750, 5, 70, 25, {});
    btnAbout->setText(QStringLiteral("Acerca de..."));
    btnAbout->setToolButtonStyle(Qt::ToolButtonTextOnly);

    AlPulsar(btnNew, this, [this] { btnNewClick(); });
    AlPulsar(btnOpen, this, [this] { btnOpenClick(); });
    AlPulsar(btnSave, this, [this] { btnSaveClick(); });
    AlPulsar(btnImagen, this, [this] { btnImagenClick(); });
    AlPulsar(btnZoomMas, this, [this] { btnZoomMasClick(); });
    AlPulsar(btnZoomMenos, this, [this] { btnZoomMenosClick(); });
    AlPulsar(btnZoom1, this, [this] { btnZoom1Click(); });
    AlPulsar(btnZoomExtension, this, [this] { btnZoomExtensionClick(); });
    AlPulsar(btnEditCom, this, [this] { btnEditComClick(); });
    AlPulsar(btnCheck, this, [this] { btnCheckClick(); });
    AlPulsar(btnErrores, this, [this] { btnErroresClick(); });
    AlPulsar(btnPlay, this, [this] { btnPlayClick(); });
    AlPulsar(btnStep, this, [this] { btnStepClick(); });
    AlPulsar(btnPause, this, [this] { btnPauseClick(); });
    AlPulsar(btnStop, this, [this] { btnStopClick(); });
    AlPulsar(btnAbout, this, [this] { btnAboutClick(); });
    AlPulsar(btnImprimir, this, [this] { btnImprimirClick(); });
    auto* Imprimir = new QShortcut(QKeySequence::Print, this);
    connect(Imprimir, &QShortcut::activated, this,
            [this] { Proteger([this] { btnImprimirClick(); }); });
}

// The insert buttons show the components' own symbols; made again once the
// catalogue has loaded.
void TfrmMain::CrearLateral() {
    if (!pHerramientas) {
        pHerramientas = new QFrame(pCintaLateral);
        pHerramientas->setGeometry(1, 1, 84, 220);
        auto Boton = [this](int Left, int Top, int Width, int Height, int Tipo,
                            const QString& Hint) {
            auto* b = new TBotonRapido(pHerramientas, Left, Top, Width, Height, Hint);
            b->Tag = Tipo;
            AlPulsar(b, this, [this, b] { InsertarComponenteClick(b->Tag); });
            return b;
        };
        btnPresion = Boton(4, 4, 25, 25, 1, "Insertar Válvula de Presión");
        btnEscape = Boton(30, 4, 25, 25, 15, "Insertar Válvula de Escape");
        btnConector = Boton(56, 4, 25, 25, 20, "Insertar Conector T");
        btnValvula = Boton(5, 32, 74, 30, 5, "Insertar Válvula Distribuidora");
        btnCilindro = Boton(5, 63, 74, 30, 8, "Insertar Cilindro");
        btnLogica = Boton(5, 94, 74, 30, 9, "Insertar Válvula Lógica");
        btnRegulador = Boton(5, 125, 74, 30, 12, "Insertar Válvula Reguladora de Caudal");
        btnTemporizador = Boton(5, 156, 74, 30, 14, "Insertar Válvula Temporizadora");
        btnTexto = Boton(5, 189, 74, 26, 30, "Insertar Texto");
        btnTexto->setText(QStringLiteral("Texto"));
        btnTexto->setToolButtonStyle(Qt::ToolButtonTextOnly);
        return;
    }
    for (auto* b : {btnPresion, btnEscape, btnConector, btnValvula, btnCilindro, btnLogica,
                    btnRegulador, btnTemporizador}) {
        const QSize Tam(b->width() - 6, b->height() - 6);
        const QIcon i = GlifoSimbolo(Lienzo->Libreria, static_cast<TTipoComponente>(b->Tag),
                                     Tam.width(), Tam.height());
        b->setIconSize(Tam);
        if (!i.isNull())
            b->setIcon(i);
        else
            b->setText(Rotulo(static_cast<TTipoComponente>(b->Tag)));
    }
}

QFrame* TfrmMain::Panel(int Width) {
    auto* p = new QFrame(pCinta);
    p->setGeometry(0, 1, Width, 35);
    p->hide();
    return p;
}

void TfrmMain::CrearPaneles() {
    auto Boton = [](QWidget* p, int Left, int Width, int Tag, const QString& Hint) {
        auto* b = new TBotonRapido(p, Left, 5, Width, 25, Hint);
        b->Tag = Tag;
        return b;
    };
    auto Familia = [this, Boton](QFrame* p, int Width, std::initializer_list<TBotonRapido**> Bs,
                                 int Tag0, std::initializer_list<const char*> Hints) {
        int i = 0;
        auto h = Hints.begin();
        for (auto** b : Bs) {
            *b = Boton(p, 5 + i * (Width + 2), Width, Tag0 + i, QString::fromUtf8(*h++));
            (*b)->SetGrupo(1, false);
            (*b)->setToolButtonStyle(Qt::ToolButtonTextOnly);
            (*b)->setText(
                QString::fromUtf8(NombreTipo(static_cast<TTipoComponente>(Tag0 + i)).data(),
                                  int(NombreTipo(static_cast<TTipoComponente>(Tag0 + i)).size())));
            (*b)->setToolButtonStyle(Qt::ToolButtonIconOnly);
            TBotonRapido* bb = *b;
            AlPulsar(bb, this, [this, bb] { CambiarComponenteClick(bb->Tag); });
            ++i;
        }
    };

    pValvula = Panel(220);
    Familia(pValvula, 40,
            {&btnValvula22NA, &btnValvula22NC, &btnValvula32NA, &btnValvula32NC, &btnValvula52}, 2,
            {"Válvula Distribuidora 2/2 Normalmente Abierta",
             "Válvula Distribuidora 2/2 Normalmente Cerrada",
             "Válvula Distribuidora 3/2 Normalmente Abierta",
             "Válvula Distribuidora 3/2 Normalmente Cerrada", "Válvula Distribuidora 5/2"});
    btnValvula32NC->SetDown(true);
    pCilindro = Panel(120);
    Familia(pCilindro, 53, {&btnCilindroSimple, &btnCilindroDoble}, 7,
            {"Cilindro de Acción Simple", "Cilindro de Acción Doble"});
    btnCilindroDoble->SetDown(true);
    pLogica = Panel(100);
    Familia(pLogica, 43, {&btnValvulaAnd, &btnValvulaOr}, 9,
            {"Válvula de Simultaneidad", "Válvula Selectora"});
    btnValvulaAnd->SetDown(true);
    pRegulador = Panel(80);
    Familia(pRegulador, 33, {&btnRegulador1, &btnRegulador2}, 11,
            {"Regulador de Caudal en un sentido", "Regulador de Caudal en los dos sentidos"});
    btnRegulador2->SetDown(true);
    pTemporizador = Panel(160);
    Familia(pTemporizador, 73, {&btnTemporizadorNA, &btnTemporizadorNC}, 13,
            {"Temporizador Normalmente Abierto", "Temporizador Normalmente Cerrado"});
    btnTemporizadorNC->SetDown(true);

    pActuador = Panel(165);
    const char* HintsActuador[5] = {"Válvula Accionada por Presión", "Válvula Accionada por Relé",
                                    "Válvula Accionada por Pulsador",
                                    "Válvula Accionada por Rodillo",
                                    "Válvula Accionada por Rodillo Escamoteable"};
    TBotonRapido** Act[5] = {&btnPilotado, &btnRele, &btnSeta, &btnRodillo, &btnEscamoteable};
    const char* NombresAct[5] = {"P", "R", "S", "Ro", "E"};
    for (int i = 0; i < 5; ++i) {
        auto* b = Boton(pActuador, 5 + 31 * i, 30, i, QString::fromUtf8(HintsActuador[i]));
        b->SetGrupo(1, false);
        b->setText(QString::fromLatin1(NombresAct[i]));
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        AlPulsar(b, this, [this, b] { CambiarActuadorClick(b->Tag); });
        *Act[i] = b;
    }

    pMuelle = Panel(35);
    btnMuelle = Boton(pMuelle, 5, 25, 0, "Válvula Monoestable o Biestable");
    btnMuelle->setIcon(Glifo("muelle"));
    btnMuelle->SetGrupo(1, true);
    btnMuelle->SetDown(true);
    AlPulsar(btnMuelle, this, [this] { btnMuelleClick(); });

    pIzqDer = Panel(60);
    btnValvulaPosicion0 = Boton(pIzqDer, 5, 25, 0, "Posición Inicial de la Válvula a la Izquierda");
    btnValvulaPosicion1 = Boton(pIzqDer, 30, 25, 1, "Posición Inicial de la Válvula a la Derecha");
    btnValvulaPosicion0->setIcon(Glifo("izq"));
    btnValvulaPosicion1->setIcon(Glifo("der"));
    for (auto* b : {btnValvulaPosicion0, btnValvulaPosicion1}) {
        b->SetGrupo(1, false);
        AlPulsar(b, this, [this] { btnValvulaPosicionClick(); });
    }
    btnValvulaPosicion0->SetDown(true);

    pTrack = Panel(105);
    TrackBar = new QSlider(Qt::Horizontal, pTrack);
    TrackBar->setGeometry(2, 2, 101, 31);
    TrackBar->setRange(0, 100);
    TrackBar->setSingleStep(2);
    TrackBar->setPageStep(10);
    TrackBar->setTickInterval(10);
    TrackBar->setTickPosition(QSlider::TicksAbove);
    TrackBar->setToolTip(QStringLiteral("Posición"));
    connect(TrackBar, &QSlider::valueChanged, this,
            [this](int v) { Proteger([&] { TrackBarChange(v); }); });

    pEnclavar = Panel(45);
    btnEnclavar = Boton(pEnclavar, 10, 25, 0, "Enclava el rodillo a un cilindro");
    btnEnclavar->setIcon(Glifo("enclavar"));
    btnEnclavar->SetGrupo(1, true);
    AlPulsar(btnEnclavar, this, [this] { btnEnclavarClick(); });

    pIdaVuelta = Panel(60);
    btnRetroceso = Boton(pIdaVuelta, 5, 25, 0,
                         "El rodillo escamoteable se activa en el retroceso del cilindro");
    btnAvance =
        Boton(pIdaVuelta, 30, 25, 1, "El rodillo escamoteable se activa en el avance del cilindro");
    btnRetroceso->setIcon(Glifo("retroceso"));
    btnAvance->setIcon(Glifo("avance"));
    for (auto* b : {btnRetroceso, btnAvance}) {
        b->SetGrupo(1, false);
        AlPulsar(b, this, [this, b] { btnAvanceRetrocesoClick(b->Tag); });
    }
    btnRetroceso->SetDown(true);

    pTexto = Panel(310);
    edTexto = new QLineEdit(QStringLiteral("Texto"), pTexto);
    edTexto->setGeometry(5, 7, 110, 21);
    edTexto->setToolTip(QStringLiteral("Texto a mostrar"));
    connect(edTexto, &QLineEdit::textChanged, this,
            [this] { Proteger([this] { edTextoChange(); }); });
    const char* Estilos[4] = {"N", "i", "S", "T"};
    const char* HintsEstilo[4] = {"Pone el Texto en Negrita", "Pone el Texto en Itálica",
                                  "Subraya el Texto", "Tacha el Texto"};
    TBotonRapido** Est[4] = {&btnNegrita, &btnItalica, &btnSubrayada, &btnTachada};
    for (int i = 0; i < 4; ++i) {
        auto* b = Boton(pTexto, 120 + 25 * i, 24, 0, QString::fromUtf8(HintsEstilo[i]));
        b->setText(QString::fromLatin1(Estilos[i]));
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        QFont f = b->font();
        f.setBold(i == 0);
        f.setItalic(i == 1);
        f.setUnderline(i == 2);
        f.setStrikeOut(i == 3);
        b->setFont(f);
        b->SetGrupo(1 + i, true);
        AlPulsar(b, this, [this] { btnFontEstiloClick(); });
        *Est[i] = b;
    }
    edSize = new QLineEdit(QStringLiteral("5"), pTexto);
    edSize->setGeometry(222, 7, 30, 21);
    edSize->setToolTip(QStringLiteral("Altura del Texto"));
    // A height takes digits and a point only (no sign).
    edSize->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), edSize));
    btnOk = Boton(pTexto, 253, 25, 0, "Establece la altura del Texto");
    btnOk->setIcon(Glifo("ok"));
    AlPulsar(btnOk, this, [this] { btnOkClick(); });
    btnColor = Boton(pTexto, 281, 25, 0, "Selecciona el Color del Texto");
    btnColor->setAutoRaise(false);
    btnColor->setStyleSheet(QStringLiteral("background: #000000; border: 1px solid #808080;"));
    AlPulsar(btnColor, this, [this] { btnColorClick(); });

    pLineas = Panel(135);
    for (int i = 0; i < 5; ++i) {
        auto* b = Boton(pLineas, 5 + 25 * i, 25, i, "Tipo de Unión entre Vértices");
        b->setIcon(Glifo(QStringLiteral("linea%1").arg(i)));
        b->SetGrupo(1, false);
        AlPulsar(b, this, [this, b] { btnLineaClick(b->Tag); });
        btnLinea[i] = b;
    }
    btnLinea[2]->SetDown(true);

    pVertices = Panel(60);
    btnPrev = Boton(pVertices, 5, 25, 0, "Muestra el Vértice anterior");
    btnNext = Boton(pVertices, 30, 25, 1, "Muestra el siguiente Vértice");
    btnPrev->setIcon(Glifo("prev"));
    btnNext->setIcon(Glifo("next"));
    for (auto* b : {btnPrev, btnNext})
        AlPulsar(b, this, [this, b] { btnNextPrevClick(b->Tag); });

    pCrearTubo = Panel(135);
    auto* lbl = new QLabel(QStringLiteral("Crear una Unión:"), pCrearTubo);
    lbl->setGeometry(5, 5, 95, 25);
    btnCrearTubo = Boton(pCrearTubo, 102, 25, 0, "Crear una Unión entre dos Conexiones");
    btnCrearTubo->setIcon(Glifo("creartubo"));
    AlPulsar(btnCrearTubo, this, [this] { btnCrearTuboClick(); });

    pBorrar = Panel(35);
    btnBorrar = Boton(pBorrar, 5, 25, 0, "Borra el Elemento Seleccionado (Supr)");
    btnBorrar->setIcon(Glifo("borrar"));
    AlPulsar(btnBorrar, this, [this] { btnBorrarClick(); });
    pRotar90 = Panel(35);
    btnRotar90 = Boton(pRotar90, 5, 25, 0, "Rotar 90º");
    btnRotar90->setIcon(Glifo("rotar"));
    AlPulsar(btnRotar90, this, [this] { btnRotar90Click(); });
    pSimetrico = Panel(35);
    btnSimetrico = Boton(pSimetrico, 5, 25, 0,
                         "Pinta el componente de forma simétrica respecto a un eje vertical");
    btnSimetrico->setIcon(Glifo("simetrico"));
    btnSimetrico->SetGrupo(1, true);
    AlPulsar(btnSimetrico, this, [this] { btnSimetricoClick(); });

    pCoordenadas = Panel(95);
    auto* lx = new QLabel(QStringLiteral("X:"), pCoordenadas);
    lx->setGeometry(3, 2, 14, 15);
    lx->setToolTip(QStringLiteral("Coordenada X del Centro del Componente"));
    auto* ly = new QLabel(QStringLiteral("Y:"), pCoordenadas);
    ly->setGeometry(3, 18, 14, 15);
    ly->setToolTip(QStringLiteral("Coordenada Y del Centro del Componente"));
    edX = new QLineEdit(pCoordenadas);
    edX->setGeometry(18, 2, 72, 15);
    edY = new QLineEdit(pCoordenadas);
    edY->setGeometry(18, 18, 72, 15);
    for (auto* e : {edX, edY}) {
        e->setFrame(false);
    }

    pNombre = Panel(170);
    auto* ln = new QLabel(QStringLiteral("Nombre:"), pNombre);
    ln->setGeometry(5, 5, 45, 25);
    edNombre = new QLineEdit(pNombre);
    edNombre->setGeometry(50, 7, 88, 21);
    btnNameOk = Boton(pNombre, 140, 25, 0, "Establece el nombre del componente");
    btnNameOk->setIcon(Glifo("ok"));
    AlPulsar(btnNameOk, this, [this] { btnNameOkClick(); });

    pLinkTexto = Panel(90);
    btnLinkText = Boton(pLinkTexto, 5, 80, 0, "Enlaza un texto al componente");
    btnLinkText->setIcon(Glifo("enlace"));
    btnLinkText->setText(QStringLiteral("Texto"));
    btnLinkText->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    AlPulsar(btnLinkText, this, [this] { btnLinkTextClick(); });

    pAlternar = Panel(35);
    btnAlternar = Boton(pAlternar, 5, 25, 0, "Alterna las herramientas de edición del componente");
    btnAlternar->setIcon(Glifo("alternar"));
    btnAlternar->SetGrupo(1, true);
    AlPulsar(btnAlternar, this, [this] { btnAlternarClick(); });

    for (auto* b : {btnValvula22NA, btnValvula22NC, btnValvula32NA, btnValvula32NC, btnValvula52,
                    btnCilindroSimple, btnCilindroDoble, btnValvulaAnd, btnValvulaOr, btnRegulador1,
                    btnRegulador2, btnTemporizadorNA, btnTemporizadorNC})
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
}

void TfrmMain::btnAboutClick() {
    TfrmAcercaDe Acerca(this);
    Acerca.exec();
}

void TfrmMain::VistaInicial() {
    const double Ancho = AnchoSimbolo(Lienzo->Libreria, TTipoComponente::Valvula32NC);
    Lienzo->SetZoom(Ancho > 0 ? 80.0 / Ancho : 4.0);
    Lienzo->Centrar(0, 0);
    Repintar();
    ActualizarEstado();
}

void TfrmMain::Repintar() {
    Lienzo->Repintar();
}

void TfrmMain::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    FormResize();
}

void TfrmMain::wheelEvent(QWheelEvent* e) {
    FormMouseWheel(e->angleDelta().y(), mapFromGlobal(e->globalPosition().toPoint()));
    e->accept();
}

// Key preview: the window sees Escape whatever control has the focus.
bool TfrmMain::eventFilter(QObject* o, QEvent* e) {
    bool Descartar = false;
    Proteger([&] { Descartar = Filtrar(o, e); });
    return Descartar || QWidget::eventFilter(o, e);
}

bool TfrmMain::Filtrar(QObject* o, QEvent* e) {
    // A key that no control takes climbs to the parents and passes here
    // again: only its first receiver counts.
    QObject* Primero = QApplication::focusWidget();
    if (!Primero)
        Primero = this;
    if (e->type() == QEvent::KeyPress && o == Primero) {
        auto* k = static_cast<QKeyEvent*>(e);
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w->window() == this) {
            if (k->key() == Qt::Key_Escape)
                FormKeyDown(27);
            // Keys never reach the canvas while a text box has the focus.
            else if (Atajo(*k, qobject_cast<QLineEdit*>(o) != nullptr))
                return true;
        }
        const bool Enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        if (o == edX || o == edY) {
            // Characters go through the coordinate filter; keys without one
            // (arrows, Delete) and control characters (Tab, copy and paste)
            // keep their usual work.
            int Key = 0;
            if (Enter)
                Key = 13;
            else if (k->key() == Qt::Key_Backspace)
                Key = 8;
            else if (!k->text().isEmpty() && k->text().at(0).isPrint())
                Key = k->text().at(0).unicode();
            if (Key != 0)
                return !(o == edX ? edXKeyPress(Key) : edYKeyPress(Key));
        } else if (Enter) {
            if (o == edNombre)
                btnNameOkClick();
            else if (o == edSize)
                btnOkClick();
        }
    } else if (e->type() == QEvent::FocusOut && (o == edX || o == edY)) {
        ConfirmarCoordenada(static_cast<QLineEdit*>(o), o == edX);
    }
    return false;
}

} // namespace ventix
