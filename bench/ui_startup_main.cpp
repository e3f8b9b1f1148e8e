// The real program's start-up, reporting when its window is first shown.

#include "ui/application.h"
#include "ui_probe.h"

int main(int argc, char **argv)
{
    quorvane::bench::ReportMainEntered();
    return quorvane::RunApplication(argc, argv, quorvane::bench::ReportShown);
}
