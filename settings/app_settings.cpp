#include "settings/app_settings.h"

AppSettings& AppSettings::Instance() {
    static AppSettings settings;
    return settings;
}
