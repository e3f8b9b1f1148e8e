#include "ui/application.h"

int main(int argc, char **argv)
{
    return quorvane::RunApplication(argc, argv);
}
