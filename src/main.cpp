#include "app/ui/application.h"

int main(int argc, char** argv) {
    return qm::runApplication(argc, argv);
}
