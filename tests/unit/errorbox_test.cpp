// The plain error box and the caption it carries.
#include "core/errorbox.h"

#include "platform/messagebox.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ErrorBox, CaptionedWithTheProgramNameWithAnErrorIconAndOk)
{
    std::vector<MessageBoxRequest> boxes;
    setMessageBoxHandler([&](const MessageBoxRequest& box) {
        boxes.push_back(box);
        return MessageResult::Ok;
    });
    showErrorBox("Unable to write to /x.ini");
    setMessageBoxHandler(nullptr);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Stampkeep");
    EXPECT_EQ(boxes[0].text, "Unable to write to /x.ini");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Error);
    EXPECT_EQ(boxes[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(boxes[0].helpContext, 0);
    EXPECT_TRUE(boxes[0].hasOwner);
}

} // namespace
