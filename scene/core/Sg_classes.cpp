#include "scene/core/Sg_classes.h"

void RegisterSgClassesUnit() {
    RegisterClass(TsgWideStrings::StaticClassInfo());
    RegisterClass(TsgWideStringList::StaticClassInfo());
    RegisterClass(THashedStringList::StaticClassInfo());
    RegisterClass(TsgTimer::StaticClassInfo());
    RegisterClass(TsgObjectList::StaticClassInfo());
    RegisterClass(TsgStorage::StaticClassInfo());
    RegisterClass(TsgStorageItem::StaticClassInfo());
}
