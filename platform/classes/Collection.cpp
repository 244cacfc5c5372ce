#include "platform/classes/Collection.h"

#include <algorithm>
#include <string>

DBI_PUBLISH(TCollectionItem) {}
DBI_PUBLISH(TCollection) {}
DBI_PUBLISH(TOwnedCollection) {}

TCollectionItem::TCollectionItem(TCollection* collection) {
    SetCollection(collection);
}

TCollectionItem::~TCollectionItem() {
    if (collection_)
        collection_->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* collection) {
    if (collection == collection_)
        return;
    if (collection_)
        collection_->RemoveItem(this);
    if (collection)
        collection->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!collection_)
        return -1;
    const auto& items = collection_->items_;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int index) {
    int current = Index();
    if (current < 0 || index < 0 || current == index)
        return;
    auto& items = collection_->items_;
    index = std::min(index, static_cast<int>(items.size()) - 1);
    items.erase(items.begin() + current);
    items.insert(items.begin() + index, this);
    Changed(true);
}

AnsiString TCollectionItem::GetDisplayName() {
    return ClassName();
}

TPersistent* TCollectionItem::GetOwner() {
    return collection_;
}

AnsiString TCollectionItem::GetNamePath() {
    if (!collection_)
        return ClassName();
    return collection_->GetNamePath() + "[" + AnsiString(std::to_string(Index())) + "]";
}

void TCollectionItem::Changed(bool allItems) {
    if (collection_ && collection_->updateCount_ == 0)
        collection_->Update(allItems ? nullptr : this);
}

TCollection::TCollection(const TClassInfo& itemClass) : itemClass_(&itemClass) {
    if (!itemClass.InheritsFrom(TCollectionItem::StaticClassInfo()))
        throw EInvalidArgument(AnsiString("Class ") + itemClass.ClassName() +
                               " is no collection item class");
}

TCollection::~TCollection() {
    ++updateCount_; // no notices while the items go
    while (!items_.empty())
        delete items_.back();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(AnsiString("List index out of bounds (") +
                         AnsiString(std::to_string(index)) + ")");
    return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() {
    if (!itemClass_->CreateItem)
        throw EInvalidOperation(AnsiString("Cannot create an item of class ") +
                                itemClass_->ClassName());
    return itemClass_->CreateItem(this);
}

TCollectionItem* TCollection::Insert(int index) {
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index) {
    TCollectionItem* item = Items(index);
    Notify(item, TCollectionNotification::Deleting);
    delete item;
}

void TCollection::Clear() {
    if (items_.empty())
        return;
    BeginUpdate();
    while (!items_.empty())
        delete items_.back();
    EndUpdate();
}

void TCollection::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0)
        Changed();
}

void TCollection::Changed() {
    if (updateCount_ == 0)
        Update(nullptr);
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (TCollectionItem* item : items_)
        if (item->id_ == id)
            return item;
    return nullptr;
}

void TCollection::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TCollection*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this)
        return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* item : other->items_)
            Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

AnsiString TCollection::PropName() {
    return AnsiString();
}

AnsiString TCollection::GetNamePath() {
    TPersistent* owner = GetOwner();
    if (!owner || PropName().IsEmpty())
        return ClassName();
    AnsiString path = owner->GetNamePath();
    return path.IsEmpty() ? PropName() : path + "." + PropName();
}

void TCollection::InsertItem(TCollectionItem* item) {
    items_.push_back(item);
    item->collection_ = this;
    item->id_ = nextId_++;
    Notify(item, TCollectionNotification::Added);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
    Notify(item, TCollectionNotification::Extracting);
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it != items_.end())
        items_.erase(it);
    item->collection_ = nullptr;
    Changed();
}
