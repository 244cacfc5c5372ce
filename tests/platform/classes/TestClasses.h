// Small persistent classes that exercise every kind of published property, for the stream tests.
#pragma once

#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/Filer.h"

#include <string>
#include <vector>

enum TTestShape { shCircle, shSquare, shTriangle };
enum TTestAnchor { akLeft, akTop, akRight, akBottom };

class TTestFont : public TPersistent {
    DBI_PERSISTENT(TTestFont, TPersistent)

    const AnsiString& Name() const { return name_; }
    void SetName(const AnsiString& v) { name_ = v; }
    int Size() const { return size_; }
    void SetSize(int v) { size_ = v; }

private:
    AnsiString name_;
    int size_ = 10;
};

// Keeps its lines through DefineProperties, as string lists do, and a binary block.
class TTestLines : public TPersistent {
    DBI_PERSISTENT(TTestLines, TPersistent)

    void DefineProperties(TFiler& filer) override;
    std::vector<UnicodeString> Lines;
    std::vector<uint8_t> Data;
};

class TTestItem : public TCollectionItem {
    DBI_PERSISTENT(TTestItem, TCollectionItem)

    explicit TTestItem(TCollection* collection) : TCollectionItem(collection) {}
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    const UnicodeString& Caption() const { return caption_; }
    void SetCaption(const UnicodeString& v) { caption_ = v; }

private:
    int width_ = 0;
    UnicodeString caption_;
};

class TTestWidget : public TComponent {
    DBI_PERSISTENT(TTestWidget, TComponent)

    explicit TTestWidget(TComponent* owner);
    ~TTestWidget() override;

    int Count = 0;
    int64_t Big = 0;
    bool Visible = true;
    bool Checked = false;
    TTestShape Shape = shCircle;
    int Anchors = (1 << akLeft) | (1 << akTop);
    double Ratio = 0;
    double Opacity = 1;
    int Margin = 5; // the constructor's value; the declared default is 0
    AnsiString Caption;
    UnicodeString Hint;
    bool StoreHint = true;
    TTestFont Font;
    TOwnedCollection Items{this, TTestItem::StaticClassInfo()};
    TTestLines Lines;
    TTestWidget* Buddy = nullptr;
    TNotifyEvent OnClick;

    void SetBuddy(TTestWidget* buddy);
    TTestWidget* WidgetParent = nullptr;
    std::vector<TTestWidget*> Children;

    void Loaded() override;
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
    TComponent* GetParentComponent() override { return WidgetParent; }
    bool HasParent() override { return WidgetParent != nullptr; }
    void SetParentComponent(TComponent* parent) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
};

class TTestForm : public TTestWidget {
    DBI_PERSISTENT(TTestForm, TTestWidget)

    explicit TTestForm(TComponent* owner) : TTestWidget(owner) {}
    void ButtonClick(TObject* sender) { Clicks.push_back(sender); }
    void OtherClick(TObject*) {}
    void WrongSignature(int) {}
    std::vector<TObject*> Clicks;
};

// Names of components in the order their Loaded ran.
std::vector<std::string>& LoadedLog();

// Helpers over the binary form.
std::vector<uint8_t> WriteToBytes(TComponent* root);
std::string ToHex(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> FromHex(const std::string& hex); // spaces ignored
std::string BinaryToText(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> TextToBinary(const std::string& text);
