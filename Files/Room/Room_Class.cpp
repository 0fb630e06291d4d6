#include "Room/Room_Class.h"
#include "IO/IO_GameData.h"

bool CRoom::Persistent() const {
    return data != nullptr && data->persistent;
}
