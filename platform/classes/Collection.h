// TCollection: an ordered list of items of one item class, streamed as a collection value
// ("Items = < item ... end >") of its owner's property. The collection owns its items.
#pragma once

#include "platform/classes/Persistent.h"

#include <vector>

class TCollection;

class TCollectionItem : public TPersistent {
    DBI_PERSISTENT(TCollectionItem, TPersistent)

    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    TCollection* Collection() const { return collection_; }
    // Moves the item into another collection (nullptr: out of any).
    void SetCollection(TCollection* collection);
    int Index() const;
    virtual void SetIndex(int index);
    int ID() const { return id_; }
    virtual AnsiString GetDisplayName();

    TPersistent* GetOwner() override;
    AnsiString GetNamePath() override;

protected:
    // Tells the collection that this item (or, with allItems, every item) changed.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

enum class TCollectionNotification { Added, Extracting, Deleting };

class TCollection : public TPersistent {
    DBI_PERSISTENT(TCollection, TPersistent)

    explicit TCollection(const TClassInfo& itemClass);
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    const TClassInfo& ItemClass() const { return *itemClass_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    TCollectionItem* FindItemID(int id) const;

    // Replaces the items by copies of another collection's items (same item class or a parent).
    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() override { return nullptr; }
    AnsiString GetNamePath() override;
    // The name of the owner's property that holds this collection, for name paths.
    virtual AnsiString PropName();

protected:
    // Called after any change; item is the changed item or nullptr for "everything".
    virtual void Update(TCollectionItem*) {}
    virtual void Notify(TCollectionItem*, TCollectionNotification) {}
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);

    const TClassInfo* itemClass_;
    std::vector<TCollectionItem*> items_;
    int updateCount_ = 0;
    int nextId_ = 0;
};

// A collection that knows the persistent object whose property it is.
class TOwnedCollection : public TCollection {
    DBI_PERSISTENT(TOwnedCollection, TCollection)

    TOwnedCollection(TPersistent* owner, const TClassInfo& itemClass)
        : TCollection(itemClass), owner_(owner) {}
    TPersistent* GetOwner() override { return owner_; }

private:
    TPersistent* owner_;
};
