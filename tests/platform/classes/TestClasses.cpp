#include "TestClasses.h"

#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/MemoryStream.h"

#include <algorithm>

DBI_PUBLISH(TTestFont) {
    p.String("Name", &TTestFont::Name, &TTestFont::SetName);
    p.Integer("Size", &TTestFont::Size, &TTestFont::SetSize, 10);
}

DBI_PUBLISH(TTestLines) {}

void TTestLines::DefineProperties(TFiler& filer) {
    filer.DefineProperty(
        "Strings",
        [this](TReader& r) {
            Lines.clear();
            r.ReadListBegin();
            while (!r.EndOfList())
                Lines.push_back(r.ReadString());
            r.ReadListEnd();
        },
        [this](TWriter& w) {
            w.WriteListBegin();
            for (const auto& l : Lines)
                w.WriteString(l);
            w.WriteListEnd();
        },
        !Lines.empty());
    filer.DefineBinaryProperty(
        "Data",
        [this](TStream& s) {
            Data.resize(static_cast<size_t>(s.Size()));
            s.ReadBuffer(Data.data(), s.Size());
        },
        [this](TStream& s) { s.WriteBuffer(Data.data(), static_cast<int64_t>(Data.size())); },
        !Data.empty());
}

DBI_PUBLISH(TTestItem) {
    p.Integer("Width", &TTestItem::Width, &TTestItem::SetWidth, 0);
    p.String("Caption", &TTestItem::Caption, &TTestItem::SetCaption);
}

DBI_PUBLISH(TTestWidget) {
    using W = TTestWidget;
    p.Integer(
        "Count", [](W& w) { return w.Count; }, [](W& w, int v) { w.Count = v; }, 0);
    p.Int64(
        "Big", [](W& w) { return w.Big; }, [](W& w, int64_t v) { w.Big = v; }, 0);
    p.Boolean(
        "Visible", [](W& w) { return w.Visible; }, [](W& w, bool v) { w.Visible = v; }, true);
    p.Boolean(
        "Checked", [](W& w) { return w.Checked; }, [](W& w, bool v) { w.Checked = v; });
    p.Enumeration(
        "Shape", [](W& w) { return w.Shape; }, [](W& w, TTestShape v) { w.Shape = v; },
        {"shCircle", "shSquare", "shTriangle"}, shCircle);
    p.Set(
        "Anchors", [](W& w) { return w.Anchors; }, [](W& w, int v) { w.Anchors = v; },
        {"akLeft", "akTop", "akRight", "akBottom"}, (1 << akLeft) | (1 << akTop));
    p.Float(
        "Ratio", [](W& w) { return w.Ratio; }, [](W& w, double v) { w.Ratio = v; });
    p.Float(
        "Opacity", [](W& w) { return w.Opacity; }, [](W& w, double v) { w.Opacity = v; }, 1);
    p.Integer(
        "Margin", [](W& w) { return w.Margin; }, [](W& w, int v) { w.Margin = v; }, 0);
    p.String(
        "Caption", [](W& w) { return w.Caption; }, [](W& w, AnsiString v) { w.Caption = v; });
    p.String(
         "Hint", [](W& w) { return w.Hint; }, [](W& w, UnicodeString v) { w.Hint = v; })
        .Stored([](TPersistent& o) { return static_cast<W&>(o).StoreHint; });
    p.Object(
        "Font", [](W& w) { return &w.Font; }, nullptr);
    p.Object(
        "Items", [](W& w) -> TCollection* { return &w.Items; }, nullptr);
    p.Object(
        "Lines", [](W& w) { return &w.Lines; }, nullptr);
    p.Object(
        "Buddy", [](W& w) { return w.Buddy; }, &W::SetBuddy);
    p.Event(
        "OnClick", [](W& w) { return w.OnClick; }, [](W& w, TNotifyEvent e) { w.OnClick = e; });
}

DBI_PUBLISH(TTestForm) {
    p.Method<&TTestForm::ButtonClick>("ButtonClick");
    p.Method<&TTestForm::OtherClick>("OtherClick");
    p.Method<&TTestForm::WrongSignature>("WrongSignature");
}

TTestWidget::TTestWidget(TComponent* owner) : TComponent(owner) {}

TTestWidget::~TTestWidget() {
    while (!Children.empty()) {
        TTestWidget* child = Children.back();
        Children.pop_back();
        child->WidgetParent = nullptr;
    }
    if (WidgetParent) {
        auto& siblings = WidgetParent->Children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

void TTestWidget::SetBuddy(TTestWidget* buddy) {
    if (Buddy)
        Buddy->RemoveFreeNotification(this);
    Buddy = buddy;
    if (Buddy)
        Buddy->FreeNotification(this);
}

void TTestWidget::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == Buddy)
        Buddy = nullptr;
}

void TTestWidget::Loaded() {
    TComponent::Loaded();
    LoadedLog().push_back(Name().str());
}

void TTestWidget::GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) {
    for (TTestWidget* child : Children)
        proc(child);
}

void TTestWidget::SetParentComponent(TComponent* parent) {
    auto* widget = dynamic_cast<TTestWidget*>(parent);
    if (!widget)
        return;
    WidgetParent = widget;
    widget->Children.push_back(this);
}

std::vector<std::string>& LoadedLog() {
    static std::vector<std::string> log;
    return log;
}

std::vector<uint8_t> WriteToBytes(TComponent* root) {
    TBytesStream stream;
    TWriter writer(stream);
    writer.WriteRootComponent(root);
    return stream.Bytes();
}

std::string ToHex(const std::vector<uint8_t>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::vector<uint8_t> FromHex(const std::string& hex) {
    std::vector<uint8_t> out;
    int high = -1;
    for (char c : hex) {
        if (c == ' ')
            continue;
        int v = (c >= '0' && c <= '9') ? c - '0' : (c | 0x20) - 'a' + 10;
        if (high < 0)
            high = v;
        else {
            out.push_back(static_cast<uint8_t>(high * 16 + v));
            high = -1;
        }
    }
    return out;
}

std::string BinaryToText(const std::vector<uint8_t>& bytes) {
    TBytesStream in(bytes);
    TStringStream out;
    ObjectBinaryToText(in, out);
    return out.DataString().str();
}

std::vector<uint8_t> TextToBinary(const std::string& text) {
    TStringStream in{AnsiString(text)};
    TBytesStream out;
    ObjectTextToBinary(in, out);
    return out.Bytes();
}
