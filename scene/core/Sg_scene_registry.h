// Process-wide registries of the scene unit: toolkit classes by category, the resource list of
// every live node, the list of live scenes, and objects or method pointers carried in texts.
//
// All of them live on the user-interface thread and are not locked. The lists never own what
// they hold: a node enters the resource list when it is built and leaves it when destroyed.
#pragma once

#include "scene/core/Sg_scene_designer.h"
#include "scene/core/Sg_scene_object.h"

#include "platform/classes/Closure.h"
#include "platform/rtl/StringList.h"

#include <initializer_list>

class TsgObject;

// Category names with their classes (Objects are const TClassInfo*), sorted by category
// without case. nullptr until the first registration.
extern TStringList* ObjectList;

void RegisterSGObject(const UnicodeString& Category, const TClassInfo& AClass);
// Registers each class by category and, by name, with the persistent-class registry.
void RegisterSGObjects(const UnicodeString& Category,
                       std::initializer_list<const TClassInfo*> Classes);

// Answers the place of the object in the order built; an object already present keeps its
// place.
int AddResource(TsgObject* AObject);
void RemoveResource(TsgObject* AObject);
// A node tells the list when its ResourceName or Stored changed.
void ResourceNameChanged(TsgObject* AObject);
// The newest stored node whose ResourceName equals AResource without case; nullptr when none.
TsgObject* FindResource(const UnicodeString& AResource);
int ResourceCount();

void AddScene(IsgScene* Scene);
void RemoveScene(IsgScene* Scene);
int SceneCount();
// The first registered scene whose host component is owned by AOwner.
IsgScene* FindSceneByOwner(TComponent* AOwner);

// "sgobj" and the decimal value of the reference.
TsgVariant ObjectToVariant(TObject* AObject);
bool VarIsObject(const TsgVariant& V);
// nullptr for a text that is no object text and for "sgobj0". A text is turned back into an
// object only when it names a live one: a node, a registered scene, a scene's owner or a
// component of that owner. EConvertError for "sgobj" without a number and for any other
// number.
TObject* VariantToObject(const TsgVariant& V);
// "sgmet" and sixteen hexadecimal digits each of the data and the code pointer: one digit per
// four bits of a 64-bit pointer, so the text has a fixed length.
TsgVariant EventToVariant(const TMethod& AEvent);
bool VarIsEvent(const TsgVariant& V);
// An empty method for a text that is no method text and for the text of an empty method.
// Otherwise the data pointer must name a live object (as VariantToObject) whose class
// publishes the code pointer as a method; anything else raises EConvertError.
TMethod VariantToEvent(const TsgVariant& V);

// Frees the registries (the unit's shutdown; tests use it to start clean).
void FinalizeSceneRegistries();
