#include "edit_availability_table.h"

namespace corvexo {

bool isSelfOrParentEntry(const QString &entryText)
{
    return entryText == u"./" || entryText == u"../";
}

std::optional<EditAvailability> localListAvailability(bool connected, int entryCount, bool currentSelected,
                                                      bool insideMouseHandler)
{
    if (!connected) return EditAvailability::allOff();
    if (entryCount <= 0) return std::nullopt;
    EditAvailability result = EditAvailability::allOff();
    if (currentSelected) {
        result.upload = true;
        result.uploadButton = true;
    } else if (!insideMouseHandler) {
        // Pointing at the list itself: a folder may be made, or the remote view moved.
        result.makeDir = true;
        result.parentDir = true;
        result.refresh = true;
    }
    return result;
}

std::optional<EditAvailability> remoteListAvailability(bool connected, bool listEnabled, bool currentSelected,
                                                       const QString &entryText)
{
    if (!connected) return EditAvailability::allOff();
    if (!listEnabled || !currentSelected) return std::nullopt;
    if (isSelfOrParentEntry(entryText)) {
        EditAvailability result = EditAvailability::allOff();
        result.refresh = true;
        result.parentDir = true;
        return result;
    }
    EditAvailability result = EditAvailability::allOn();
    result.makeDir = false;
    result.upload = false;
    result.uploadButton = false;
    return result;
}

} // namespace corvexo
