#include "platform/classes/Component.h"

#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"

#include <algorithm>

DBI_PUBLISH(TComponent) {
    p.String("Name", &TComponent::Name, &TComponent::SetName).Stored([](TPersistent&) {
        return false; // the stream's object header carries the name
    });
    p.Integer("Tag", &TComponent::Tag, &TComponent::SetTag, 0);
}

namespace {

bool SameName(const AnsiString& a, const AnsiString& b) {
    return a.Length() == b.Length() && a.UpperCase() == b.UpperCase();
}

void EraseOne(std::vector<TComponent*>& list, TComponent* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end())
        list.erase(it);
}

} // namespace

bool IsValidIdent(const AnsiString& name) {
    const std::string& s = name.str();
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        bool digit = c >= '0' && c <= '9';
        if (!(letter || (i > 0 && digit)))
            return false;
    }
    return true;
}

TComponent::TComponent(TComponent* owner) {
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        EraseOne(other->freeNotifies_, this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_)
        owner_->RemoveComponent(this);
}

void TComponent::Free() {
    Destroying();
    delete this;
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError(AnsiString("List index out of bounds (") +
                         AnsiString(std::to_string(index)) + ")");
    return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (!owner_)
        return -1;
    const auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const AnsiString& name) const {
    if (name.IsEmpty())
        return nullptr;
    for (TComponent* c : components_)
        if (SameName(c->name_, name))
            return c;
    return nullptr;
}

void TComponent::SetName(const AnsiString& name) {
    if (name == name_)
        return;
    if (!IsValidIdent(name))
        throw EComponentError(AnsiString("'") + name + "' is not a valid component name");
    if (owner_)
        owner_->ValidateRename(this, name_, name);
    else
        ValidateRename(nullptr, name_, name);
    SetReference(false);
    ChangeName(name);
    SetReference(true);
}

void TComponent::SetReference(bool enable) {
    // An owner on its way out has lost its fields already.
    if (!owner_ || name_.IsEmpty() || owner_->HasState(csDestroying))
        return;
    if (const TFieldEntry* field = owner_->ClassInfo().FindField(name_))
        field->Set(*owner_, enable ? this : nullptr);
}

void TComponent::ValidateRename(TComponent* component, const AnsiString& currentName,
                                const AnsiString& newName) {
    if (component && !SameName(currentName, newName) && FindComponent(newName))
        throw EComponentError(AnsiString("A component named ") + newName + " already exists");
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->owner_ == this)
        return;
    ValidateInsert(component);
    if (!component->name_.IsEmpty())
        ValidateRename(component, AnsiString(), component->name_);
    if (component->owner_)
        component->owner_->RemoveComponent(component);
    Insert(component);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->owner_ != this)
        return;
    Notification(component, opRemove);
    Remove(component);
}

void TComponent::Insert(TComponent* component) {
    components_.push_back(component);
    component->owner_ = this;
    component->SetReference(true);
}

void TComponent::Remove(TComponent* component) {
    component->SetReference(false);
    EraseOne(components_, component);
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* c = components_.back();
        Remove(c);
        c->Free();
    }
}

void TComponent::Destroying() {
    if (state_ & csDestroying)
        return;
    state_ |= csDestroying;
    for (TComponent* c : components_)
        c->Destroying();
}

void TComponent::SetDesigning(bool designing, bool setChildren) {
    if (designing)
        state_ |= csDesigning;
    else
        state_ &= ~csDesigning;
    if (setChildren)
        for (TComponent* c : components_)
            c->SetDesigning(designing, true);
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this)
        return;
    state_ |= csFreeNotification;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
        component->freeNotifies_.end())
        component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component)
        return;
    EraseOne(freeNotifies_, component);
    EraseOne(component->freeNotifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component)
        RemoveFreeNotification(component);
    // Owned components hear about every insertion and removal in their owner; the index check
    // keeps the walk safe when a handler removes components.
    for (size_t i = 0; i < components_.size(); ++i)
        if (components_[i] != component)
            components_[i]->Notification(component, operation);
}

void TComponent::Loaded() {
    state_ &= ~csLoading;
}

void TComponent::ReadState(TReader& reader) {
    reader.ReadData(this);
}

void TComponent::WriteState(TWriter& writer) {
    writer.WriteData(this);
}

void TComponent::GetChildren(const std::function<void(TComponent*)>&, TComponent*) {}

AnsiString TComponent::GetNamePath() {
    return name_;
}
