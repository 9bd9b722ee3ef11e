#include "app/startup.h"

#include "calculators/widgets/install.h"
#include "comm/widgets/install.h"
#include "nctext/widgets/install.h"
#include "plugin/widgets/install.h"
#include "projects/widgets/install.h"
#include "templates/widgets/install.h"
#include "tooltables/widgets/install.h"

#include <QApplication>

namespace velmora {

int runVelmora(int argc, char **argv) {
    QApplication app(argc, argv);
    // The main window and the start-up order are wired here by the shell.
    return 0;
}

} // namespace velmora
