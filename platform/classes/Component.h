// TComponent: a persistent object with an owner, a name, state flags and notifications.
//
// An owner frees the components it owns when it goes and answers FindComponent for their names;
// names are unique among the components of one owner, compared without case. Any component can
// ask another to tell it when that one is freed (FreeNotification); the answer arrives as
// Notification(component, opRemove). Streams create components by class name, set their
// properties while csLoading is set and call Loaded on each once the whole tree has been read
// and its references fixed up.
#pragma once

#include "platform/classes/Persistent.h"

#include <cstdint>
#include <functional>
#include <vector>

class TReader;
class TWriter;

enum TComponentStateFlag : uint32_t {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,
    csAncestor = 1u << 5,
    csUpdating = 1u << 6,
    csFixups = 1u << 7,
    csFreeNotification = 1u << 8,
    csInline = 1u << 9,
};
using TComponentState = uint32_t;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
    DBI_PERSISTENT(TComponent, TPersistent)

    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Marks the component as being destroyed (and tells its owned components), then deletes it.
    // Deleting directly is equivalent; this spelling reads like the callers' Free.
    void Free();

    TComponent* Owner() const { return owner_; }
    const AnsiString& Name() const { return name_; }
    // Raises EComponentError for a name that is no identifier or is taken in the owner.
    virtual void SetName(const AnsiString& name);
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    TComponentState ComponentState() const { return state_; }
    bool HasState(TComponentStateFlag flag) const { return (state_ & flag) != 0; }
    void SetDesigning(bool designing, bool setChildren = true);

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    TComponent* FindComponent(const AnsiString& name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void DestroyComponents();
    // Sets csDestroying here and in every owned component.
    void Destroying();

    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Streaming hooks.
    virtual void Loaded();
    virtual void ReadState(TReader& reader);
    virtual void WriteState(TWriter& writer);
    // Reports the components that are streamed as this one's children.
    virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root);
    virtual TComponent* GetChildOwner() { return nullptr; }
    virtual TComponent* GetChildParent() { return this; }
    virtual TComponent* GetParentComponent() { return nullptr; }
    virtual bool HasParent() { return false; }
    virtual void SetParentComponent(TComponent*) {}
    virtual void SetChildOrder(TComponent*, int) {}
    virtual void Updating() { state_ |= csUpdating; }
    virtual void Updated() { state_ &= ~csUpdating; }

    TPersistent* GetOwner() override { return owner_; }
    AnsiString GetNamePath() override;

    // Only the component streams change the loading flags.
    void SetStateFlags(TComponentState flags) { state_ |= flags; }
    void ClearStateFlags(TComponentState flags) { state_ &= ~flags; }

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    virtual void ValidateRename(TComponent* component, const AnsiString& currentName,
                                const AnsiString& newName);
    virtual void ValidateInsert(TComponent*) {}

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void ChangeName(const AnsiString& name) { name_ = name; }
    // Points the owner's field of this component's name at it, or clears that field.
    void SetReference(bool enable);

    TComponent* owner_ = nullptr;
    AnsiString name_;
    int tag_ = 0;
    TComponentState state_ = 0;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
};

// True when name is empty or a valid identifier (a letter or '_', then letters, digits, '_').
bool IsValidIdent(const AnsiString& name);
