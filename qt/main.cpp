#include "qt/placeholder_window.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget* w = zorone::qt::CreatePlaceholderWindow();
    w->show();
    const int rc = app.exec();
    delete w;
    return rc;
}
