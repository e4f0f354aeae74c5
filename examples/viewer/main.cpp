// viewer FILE: a document in the viewer control, in a window of its own. A PGF file (.pgf)
// keeps its styles; any other file is read as text in the encoding found in it.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>

#include <iostream>
#include <string>

#include "graphics/Pictures.h"
#include "model/PGStyle.h"
#include "qt/QtPagoraWidget.h"
#include "qt/QtSystemColors.h"

namespace {

bool IsPGF(const QString& path) { return QFileInfo(path).suffix().compare("pgf", Qt::CaseInsensitive) == 0; }

bool Load(pagora::TPagora& viewer, const std::string& path, std::string& error) {
  if (IsPGF(QString::fromStdString(path))) return viewer.LoadPGF(path, &error);
  return viewer.LoadText(path, 0, 0, &error);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::cerr << "usage: viewer FILE\n";
    return 2;
  }
  const std::string path = argv[1];
  pagora::LoadSystemColors(app.palette());
  pagora::RegisterAllGraphicClasses();

  // Unicode text styles keep text in any script, whatever the file was read from.
  pagora::TPGStyle style;
  for (int i = 0; i < style.TextStyles.Count(); ++i) style.TextStyles[i].Unicode = true;

  QMainWindow window;
  auto* widget = new pagora::TQtPagoraWidget;
  pagora::TPagora& viewer = widget->Core();
  viewer.SetStyle(&style);
  // Links keep their addresses in string tags; copied text keeps every script.
  viewer.Options.Include(pagora::pgoTagsArePChars);
  viewer.Options.Include(pagora::pgoAutoCopyUnicodeText);
  viewer.OnJump = [](pagora::TCustomPagora&, int id) { std::cout << "jump " << id << std::endl; };

  std::string error;
  if (!Load(viewer, path, error)) {
    std::cerr << "viewer: cannot read '" << path << "': " << (error.empty() ? "unknown error" : error) << '\n';
    return 1;
  }
  viewer.Format();

  window.setCentralWidget(widget);
  auto* quit = new QAction(&window);
  quit->setShortcut(QKeySequence::Quit);
  QObject::connect(quit, &QAction::triggered, &app, &QApplication::quit);
  window.addAction(quit);
  window.setWindowTitle(QFileInfo(QString::fromStdString(path)).fileName());
  window.resize(800, 600);
  window.show();
  return app.exec();
}
