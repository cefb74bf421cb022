// An editor drawn offscreen with language files of our own: the colours on
// screen must be the files' colours. With FERROLAN_SHOTS set to a
// folder, the pictures are saved there to be looked at.
#include "TestEditorHost.h"
#include "TestFiles.h"
#include "editor/clsScintilla.h"
#include "highlight/modHighlighter.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Colours as the CHL files hold them (0x00BBGGRR) and as the screen shows them.
constexpr int Keyword = 0xC00000;  // blue
constexpr int Comment = 0x008000;  // green
constexpr int Text = 0x1515A3;     // dark red
constexpr int Directive = 0x800080; // purple

const char CppChl[] = "[data]\n"
                      "LangName=CPP\nLanguage=3\nFilter=C++ (*.cpp)|*.cpp\n"
                      "Keywords[0]=int return for const char void\nKeywords[1]=std vector\n"
                      "Style[32]=:::V:C:::Courier New:11:0:16777215::\n"
                      "Style[1]=:I::V:C:::Courier New:11:32768:16777215:Comment:\n"
                      "Style[2]=:::V:C:::Courier New:11:32768:16777215:Line comment:\n"
                      "Style[4]=:::V:C:::Courier New:11:8421376:16777215:Number:\n"
                      "Style[5]=B:::V:C:::Courier New:11:12582912:16777215:Keyword:\n"
                      "Style[6]=:::V:C:::Courier New:11:1381795:16777215:String:\n"
                      "Style[9]=:::V:C:::Courier New:11:8388736:16777215:Preprocessor:\n"
                      "Style[16]=B:::V:C:::Courier New:11:8421376:16777215:Types:\n";

const char CppText[] = "#include <vector>\n"
                       "// 计算总和：返回所有元素之和\n"
                       "int Sum(const std::vector<int> &values)\n"
                       "{\n"
                       "    int total = 0; /* 中文注释也能显示 */\n"
                       "    for (int v : values)\n"
                       "        total += v;\n"
                       "    return total; // 完成\n"
                       "}\n"
                       "const char *greeting = \"你好, world\";\n";

const char HtmlChl[] = "[data]\n"
                       "LangName=HTML\nLanguage=4\nFilter=HTML (*.htm;*.html)|*.htm;*.html\n"
                       "Keywords[0]=html head title body p script\nKeywords[1]=var function return\n"
                       "Style[32]=:::V:C:::Courier New:11:0:16777215::\n"
                       "Style[1]=B:::V:C:::Courier New:11:12582912:16777215:Tag:\n"
                       "Style[3]=:::V:C:::Courier New:11:1381795:16777215:Attribute:\n"
                       "Style[6]=:::V:C:::Courier New:11:8388736:16777215:String:\n"
                       "Style[9]=:I::V:C:::Courier New:11:32768:16777215:Comment:\n"
                       "Style[21]=:::V:C:::Courier New:11:8388736:16777215:Doctype:\n"
                       "Style[41]=:::V:C:::Courier New:11:0:15790320:Script default:\n"
                       "Style[43]=:::V:C:::Courier New:11:32768:15790320:Script comment:\n"
                       "Style[46]=:::V:C:::Courier New:11:0:15790320:Script word:\n"
                       "Style[47]=B:::V:C:::Courier New:11:12582912:15790320:Script keyword:\n"
                       "Style[48]=:::V:C:::Courier New:11:1381795:15790320:Script string:\n"
                       "Style[50]=:::V:C:::Courier New:11:0:15790320:Script symbol:\n";

const char HtmlText[] = "<!DOCTYPE html>\n"
                        "<html>\n"
                        "<head><title>示例页面</title></head>\n"
                        "<body>\n"
                        "<!-- 中文注释 -->\n"
                        "<p class=\"intro\">你好，世界</p>\n"
                        "<script>\n"
                        "// 脚本注释：计算\n"
                        "function add(a, b) { return a + b; }\n"
                        "var s = \"字符串\";\n"
                        "</script>\n"
                        "</body>\n"
                        "</html>\n";

int PixelsNear(const QImage &image, int colorref)
{
    const QColor wanted(colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - wanted.red()) + std::abs(c.green() - wanted.green())
                    + std::abs(c.blue() - wanted.blue())
                < 40)
                ++count;
        }
    return count;
}

class PictureTest : public ::testing::Test, protected TestFiles
{
protected:
    void SetUp() override
    {
        ResetHighlighterTable();
        for (const auto &[name, text] : {std::pair{"CPP.CHL", CppChl}, std::pair{"HTML.CHL", HtmlChl}}) {
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(text);
        }
        LoadHighlighters(dir.path());
    }
    void TearDown() override { ResetHighlighterTable(); }

    QImage Render(const char *text, const QString &language, const QString &shotName)
    {
        TestEditorHost host;
        host.resize(740, 380);
        host.sci().SizeScintilla(0, 0, 740, 380);
        host.show();
        clsScintilla &sci = host.sci();
        sci.SendEditor(QsciScintillaBase::SCI_SETTEXT, 0, QString::fromUtf8(text));
        ApplyHighlighter(sci, language);
        QApplication::processEvents();
        const QImage image = host.grab().toImage();
        if (qEnvironmentVariableIsSet("FERROLAN_SHOTS"))
            image.save(qEnvironmentVariable("FERROLAN_SHOTS") + "/" + shotName);
        return image;
    }

};

TEST_F(PictureTest, ACppDocumentShowsTheColoursOfItsFile)
{
    const QImage image = Render(CppText, "cpp", "ferrolan-cpp.png");
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(PixelsNear(image, Keyword), 100);
    EXPECT_GT(PixelsNear(image, Comment), 100);
    EXPECT_GT(PixelsNear(image, Text), 30);
    EXPECT_GT(PixelsNear(image, Directive), 30);
}

TEST_F(PictureTest, AnHtmlDocumentColoursMarkupAndScript)
{
    const QImage image = Render(HtmlText, "html", "ferrolan-html.png");
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(PixelsNear(image, Keyword), 100); // tags and script keywords
    EXPECT_GT(PixelsNear(image, Comment), 100);
    EXPECT_GT(PixelsNear(image, 0xF0F0F0), 2000); // the script block's background
}

} // namespace
