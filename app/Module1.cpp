#include "app/Module1.h"

#include "velmorant/Version.h"

#include <QCoreApplication>
#include <QWidget>

namespace Module1 {

void Main() {
    QCoreApplication::setApplicationName(velmorant::kProductName);
    QCoreApplication::setApplicationVersion(velmorant::kProductVersion);
    auto* window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle("Velmorant");
    window->show();
}

} // namespace Module1
