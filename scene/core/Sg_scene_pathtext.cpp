// The text form of a path: "M x,y L x,y C x,y x,y x,y Z" and the rest of the SVG-like
// commands. Reading is forgiving: a command whose arguments do not convert is dropped and
// reading goes on, so a damaged text loses only the failing commands.
#include "scene/core/Sg_scene_path.h"

#include "scene/core/Sg_scene_text.h"

#include "platform/rtl/Exceptions.h"

#include <cstring>
#include <string>

namespace {

class TPathTextReader {
public:
    TPathTextReader(TsgPathData& Path, std::string Text) : path_(Path), s_(std::move(Text)) {}

    void Run() {
        while (pos_ < s_.size()) {
            const size_t before = pos_;
            SkipSpaces();
            const size_t start = pos_;
            while (pos_ < s_.size() && IsCommand(s_[pos_]))
                ++pos_;
            const std::string token = s_.substr(start, pos_ - start);
            for (char letter : token) {
                try {
                    Execute(letter);
                } catch (const EConvertError&) {
                    // This command's arguments did not convert; it is dropped.
                }
            }
            if (pos_ == before)
                break;
        }
    }

private:
    static bool IsCommand(char c) { return c != 0 && std::strchr("zmlchvsqtaZMLCHVSQTA", c); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    bool AtEnd() const { return pos_ >= s_.size(); }
    void SkipSpaces() {
        while (!AtEnd() && s_[pos_] == ' ')
            ++pos_;
    }
    void SkipSpacesAndCommas() {
        while (!AtEnd() && (s_[pos_] == ' ' || s_[pos_] == ','))
            ++pos_;
    }
    // A repetition of a command's arguments starts only with a digit or a minus sign.
    bool MoreArguments() const { return !AtEnd() && (IsDigit(s_[pos_]) || s_[pos_] == '-'); }

    float Number() {
        SkipSpaces();
        const size_t start = pos_;
        while (!AtEnd() &&
               (IsDigit(s_[pos_]) || s_[pos_] == '.' || (s_[pos_] == '-' && pos_ == start)))
            ++pos_;
        const std::string text = s_.substr(start, pos_ - start);
        if (text.empty())
            throw EConvertError("A number is expected in the path text");
        return sgStrToFloat(UnicodeString(text));
    }

    TsgPoint Point() {
        SkipSpacesAndCommas();
        if (AtEnd())
            return {};
        const float x = Number();
        SkipSpacesAndCommas();
        if (AtEnd())
            return {};
        const float y = Number();
        SkipSpacesAndCommas();
        return {x, y};
    }

    void Execute(char letter) {
        switch (letter) {
        case 'M':
        case 'm':
            do {
                const TsgPoint p = Point();
                letter == 'M' ? path_.MoveTo(p) : path_.MoveToRel(p);
            } while (MoreArguments());
            break;
        case 'L':
        case 'l':
            do {
                const TsgPoint p = Point();
                letter == 'L' ? path_.LineTo(p) : path_.LineToRel(p);
            } while (MoreArguments());
            break;
        case 'C':
        case 'c':
            do {
                const TsgPoint c1 = Point();
                const TsgPoint c2 = Point();
                const TsgPoint end = Point();
                letter == 'C' ? path_.CurveTo(c1, c2, end) : path_.CurveToRel(c1, c2, end);
            } while (MoreArguments());
            break;
        case 'S':
        case 's':
            do {
                const TsgPoint c2 = Point();
                const TsgPoint end = Point();
                letter == 'S' ? path_.SmoothCurveTo(c2, end) : path_.SmoothCurveToRel(c2, end);
            } while (MoreArguments());
            break;
        case 'H':
            path_.HLineTo(Number());
            break;
        case 'h':
            path_.HLineToRel(Number());
            break;
        case 'V':
            path_.VLineTo(Number());
            break;
        case 'v':
            path_.VLineToRel(Number());
            break;
        case 'Q':
        case 'q':
            Point();
            Point();
            break;
        case 'T':
        case 't':
            Point();
            break;
        case 'A':
        case 'a': {
            const TsgPoint radius = Point();
            const float angle = Number();
            const TsgPoint flags = Point();
            TsgPoint end = Point();
            const TsgPoint last = path_.LastPoint();
            if (letter == 'a')
                end = {last.X + end.X, last.Y + end.Y};
            path_.AddArcSvg(last, radius, angle, flags.X == 1, flags.Y == 1, end);
            break;
        }
        case 'Z':
        case 'z':
            path_.ClosePath();
            break;
        }
    }

    TsgPathData& path_;
    std::string s_;
    size_t pos_ = 0;
};

void AppendPoint(AnsiString& Out, const TsgPoint& P) {
    Out += AnsiString(sgFloatToStr(P.X));
    Out += ',';
    Out += AnsiString(sgFloatToStr(P.Y));
    Out += ' ';
}

} // namespace

AnsiString TsgPathData::GetPathString() const {
    AnsiString out;
    for (size_t i = 0; i < PathData.size(); ++i) {
        const TsgPathPoint& p = PathData[i];
        switch (p.Kind) {
        case sgPathPointMoveTo:
            out += "M ";
            AppendPoint(out, p.Point);
            break;
        case sgPathPointLineTo:
            out += "L ";
            AppendPoint(out, p.Point);
            break;
        case sgPathPointCurveTo:
            out += "C ";
            for (int k = 0; k < 3 && i < PathData.size(); ++k, ++i)
                AppendPoint(out, PathData[i].Point);
            --i;
            break;
        case sgPathPointClose:
            out += "Z ";
            break;
        }
    }
    return out;
}

void TsgPathData::SetPathString(const AnsiString& Value) {
    std::string text;
    text.reserve(Value.str().size());
    for (char c : Value.str())
        if (c != '\t' && c != '\n' && c != '\r')
            text += c;
    PathData.clear();
    TPathTextReader(*this, std::move(text)).Run();
    Changed();
}
