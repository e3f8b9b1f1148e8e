#include "calc/write_failure.h"

#include <QFileDevice>
#include <QFileInfo>

namespace quorvane {

QString WriteFailureReason(const QFileDevice &file)
{
    if (QFileInfo(file.fileName()).isDir())
        return QStringLiteral("已有同名的文件夹");
    switch (file.error()) {
    case QFileDevice::NoError:
    case QFileDevice::ResourceError:
        return QStringLiteral("磁盘空间不足");
    default:
        return file.errorString();
    }
}

} // namespace quorvane
