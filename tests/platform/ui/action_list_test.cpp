// Action lists and the pictures of actions: an action's list and image index, the list's image
// list with its free notification, the changes the links hear of, and what the streams keep.
#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Actions.h"
#include "platform/ui/ImageList.h"

#include <gtest/gtest.h>

#include <memory>

// A root that streams the components it owns, as a form does.
class TActionsHolder : public TComponent {
    DBI_PERSISTENT(TActionsHolder, TComponent)

    explicit TActionsHolder(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) override {
        for (int i = 0; i < ComponentCount(); ++i)
            proc(Components(i));
    }
    TCustomImageList* Pictures = nullptr;
    TCustomActionList* Commands = nullptr;
    TCustomAction* Open = nullptr;
};

DBI_PUBLISH(TActionsHolder) {
    p.Field<&TActionsHolder::Pictures>("Pictures");
    p.Field<&TActionsHolder::Commands>("Commands");
    p.Field<&TActionsHolder::Open>("Open");
}

namespace {

struct ChangeCounter : TObject {
    int changes = 0;
    void Changed(TObject*) { ++changes; }
};

// A link that counts the changes its action reports.
struct CountingLink {
    explicit CountingLink(TBasicAction* action) {
        link.OnChange = ::TNotifyEvent::Bind<&ChangeCounter::Changed>(&counter);
        link.SetAction(action);
    }
    int Changes() const { return counter.changes; }
    ChangeCounter counter;
    TActionLink link;
};

TEST(ActionList, ActionsJoinAndLeaveTheirList) {
    TCustomActionList list(nullptr);
    auto first = std::make_unique<TCustomAction>(nullptr);
    auto second = std::make_unique<TCustomAction>(nullptr);
    EXPECT_EQ(first->ActionList(), nullptr);
    first->SetActionList(&list);
    second->SetActionList(&list);
    ASSERT_EQ(list.ActionCount(), 2);
    EXPECT_EQ(list.Actions(0), first.get());
    EXPECT_EQ(list.Actions(1), second.get());
    EXPECT_THROW(list.Actions(2), EListError);
    EXPECT_THROW(list.Actions(-1), EListError);

    // Moving to another list leaves the first one; a freed action leaves its list.
    TCustomActionList other(nullptr);
    first->SetActionList(&other);
    EXPECT_EQ(list.ActionCount(), 1);
    EXPECT_EQ(other.ActionCount(), 1);
    second.reset();
    EXPECT_EQ(list.ActionCount(), 0);

    // A freed list leaves its actions without one.
    auto shortLived = std::make_unique<TCustomActionList>(nullptr);
    first->SetActionList(shortLived.get());
    EXPECT_EQ(other.ActionCount(), 0);
    shortLived.reset();
    EXPECT_EQ(first->ActionList(), nullptr);
}

TEST(ActionList, LinksHearOfPictureChanges) {
    TCustomImageList images(nullptr);
    TCustomActionList list(nullptr);
    TCustomAction action(nullptr);
    CountingLink link(&action);
    EXPECT_EQ(action.ImageIndex(), -1);

    action.SetImageIndex(2);
    EXPECT_EQ(link.Changes(), 1);
    action.SetImageIndex(2); // unchanged
    EXPECT_EQ(link.Changes(), 1);
    action.SetActionList(&list);
    EXPECT_EQ(link.Changes(), 2);
    list.SetImages(&images);
    EXPECT_EQ(link.Changes(), 3);
    list.SetImages(&images);
    EXPECT_EQ(link.Changes(), 3);
    EXPECT_EQ(list.Images(), &images);
}

TEST(ActionList, AFreedImageListIsForgotten) {
    TCustomActionList list(nullptr);
    TCustomAction action(nullptr);
    action.SetActionList(&list);
    CountingLink link(&action);
    auto images = std::make_unique<TCustomImageList>(nullptr);
    list.SetImages(images.get());
    images.reset();
    EXPECT_EQ(list.Images(), nullptr);
    EXPECT_EQ(link.Changes(), 2); // set, then cleared

    // A list that goes first leaves nothing behind in the image list.
    auto kept = std::make_unique<TCustomImageList>(nullptr);
    {
        TCustomActionList shortLived(nullptr);
        shortLived.SetImages(kept.get());
    }
    kept.reset();
}

TEST(ActionList, ImageIndexAndImagesGoThroughTheStream) {
    const char* const text = "object Holder: TActionsHolder\n"
                             "  object Pictures: TCustomImageList\n"
                             "    Width = 16\n"
                             "    Height = 16\n"
                             "  end\n"
                             "  object Commands: TCustomActionList\n"
                             "    Images = Pictures\n"
                             "  end\n"
                             "  object Open: TCustomAction\n"
                             "    Caption = 'Open'\n"
                             "    ImageIndex = 3\n"
                             "  end\n"
                             "end\n";
    TActionsHolder holder;
    {
        TStringStream source{AnsiString(text)};
        TMemoryStream binary;
        ObjectTextToBinary(source, binary);
        binary.SetPosition(0);
        TReader reader(binary);
        reader.ReadRootComponent(&holder);
    }
    ASSERT_NE(holder.Pictures, nullptr);
    ASSERT_NE(holder.Commands, nullptr);
    ASSERT_NE(holder.Open, nullptr);
    EXPECT_EQ(holder.Commands->Images(), holder.Pictures);
    EXPECT_EQ(holder.Open->ImageIndex(), 3);
    EXPECT_EQ(holder.Pictures->Width(), 16);

    TMemoryStream binary;
    {
        TWriter writer(binary);
        writer.WriteRootComponent(&holder);
    }
    binary.SetPosition(0);
    TStringStream written;
    ObjectBinaryToText(binary, written);
    EXPECT_EQ(written.DataString(), AnsiString(text));

    // The default index is not written.
    holder.Open->SetImageIndex(-1);
    TMemoryStream again;
    {
        TWriter writer(again);
        writer.WriteRootComponent(&holder);
    }
    again.SetPosition(0);
    TStringStream rewritten;
    ObjectBinaryToText(again, rewritten);
    EXPECT_EQ(rewritten.DataString().Pos("ImageIndex"), 0);
}

} // namespace
