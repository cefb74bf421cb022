#include "PdfPrinter.h"
#include "RecordingBrowser.h"
#include "ScriptedMessageBox.h"
#include "platform/BrowserSeam.h"
#include "platform/MessageBoxSeam.h"
#include "platform/PrinterSeam.h"

#include <gtest/gtest.h>

namespace {

// Each seam has a slot of its own: a double installed for one leaves the
// others with the system's, and the system's comes back when it goes.
TEST(SeamTest, ADoubleStandsInForItsOwnSeamWhileItLives)
{
    MessageBoxSeam *systemBoxes = &MessageBoxSeam::System();
    BrowserSeam *systemBrowser = &BrowserSeam::System();
    ASSERT_EQ(&MessageBoxSeam::Current(), systemBoxes);
    {
        ScriptedMessageBox boxes;
        EXPECT_EQ(&MessageBoxSeam::Current(), &boxes);
        EXPECT_EQ(&BrowserSeam::Current(), systemBrowser);
        EXPECT_EQ(&PrinterSeam::Current(), &PrinterSeam::System());
        {
            RecordingBrowser browser;
            EXPECT_EQ(&BrowserSeam::Current(), &browser);
            EXPECT_EQ(&MessageBoxSeam::Current(), &boxes);
        }
        EXPECT_EQ(&BrowserSeam::Current(), systemBrowser);

        MsgBox(nullptr, QStringLiteral("文本"), QStringLiteral("标题"));
        ASSERT_EQ(boxes.shown.size(), 1);
        EXPECT_EQ(boxes.shown[0].text, QStringLiteral("文本"));
    }
    EXPECT_EQ(&MessageBoxSeam::Current(), systemBoxes);
}

} // namespace
