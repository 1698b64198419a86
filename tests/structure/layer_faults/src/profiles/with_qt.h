#include <QString>
#include <QtCore/QList>
#include <string>
