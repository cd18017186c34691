#include "faces.h"

namespace mkres {

namespace {
    // skin tones, fair to deep
    constexpr QRgb S1 = 0xFFFFE0CC, S2 = 0xFFF9D3B4, S3 = 0xFFF1C09A, S4 = 0xFFE0A878, S5 = 0xFFC98B5C, S6 = 0xFFA8683F,
                   S7 = 0xFF8A5130, S8 = 0xFF653A22;
    // hair
    constexpr QRgb Black = 0xFF2A2220, DarkBrown = 0xFF3F2A1E, Brown = 0xFF6B4226, Chestnut = 0xFF8B5A2B,
                   Auburn = 0xFFA0432A, Ginger = 0xFFD9722E, Blond = 0xFFE9C46A, LightBlond = 0xFFF3DFA2,
                   Grey = 0xFFA9A9AD, White = 0xFFE6E6E6, Silver = 0xFFC9CBD1;
    // backdrops
    constexpr QRgb Sky = 0xFFCDE8F6, Peach = 0xFFFDE2C8, Mint = 0xFFD9F2D0, Pink = 0xFFF7D6E6, Lavender = 0xFFE4DDF7,
                   Lemon = 0xFFFFF1B8, Aqua = 0xFFCFEDEA, Coral = 0xFFF9D9C9, Lime = 0xFFE2F0C4,
                   Periwinkle = 0xFFD6E4FF;
    // clothes, hats and frames
    constexpr QRgb Red = 0xFFE8505B, Blue = 0xFF3E8EDE, Green = 0xFF52B788, Orange = 0xFFF4A259, Purple = 0xFF9B5DE5,
                   Rose = 0xFFF15BB5, Cyan = 0xFF00A8E8, Yellow = 0xFFF7D038, Teal = 0xFF2A9D8F,
                   Terracotta = 0xFFE76F51, Slate = 0xFF6C757D, Navy = 0xFF264653, FrameBlack = 0xFF2B2B2B,
                   FrameBrown = 0xFF7A4B2A, Gold = 0xFFD4A017;

    FaceSpec face(Age age, QRgb skin, Hair hair, QRgb hairColour, Eyes eyes, Mouth mouth, QRgb background, QRgb shirt)
    {
        FaceSpec s { age, skin, hair, hairColour, eyes, mouth };
        s.background = background;
        s.shirt = shirt;
        return s;
    }
    FaceSpec withGlasses(FaceSpec s, Glasses g, QRgb colour)
    {
        s.glasses = g;
        s.glassesColour = colour;
        return s;
    }
    FaceSpec withHat(FaceSpec s, Hat h, QRgb colour)
    {
        s.hat = h;
        s.hatColour = colour;
        return s;
    }
    FaceSpec withBeard(FaceSpec s, Beard b)
    {
        s.beard = b;
        return s;
    }
    FaceSpec freckled(FaceSpec s)
    {
        s.freckles = true;
        return s;
    }
    FaceSpec withEarrings(FaceSpec s)
    {
        s.earrings = true;
        return s;
    }
}

QList<FaceSpec> faceSpecs()
{
    using A = Age;
    using H = Hair;
    using E = Eyes;
    using M = Mouth;
    return {
        /* 1 */ freckled(face(A::Child, S2, H::Spiky, Brown, E::Dot, M::Open, Sky, Red)),
        /* 2 */ face(A::Child, S6, H::Pigtails, Black, E::Dot, M::Smile, Pink, Yellow),
        /* 3 */
        withGlasses(
            face(A::Adult, S3, H::SidePart, DarkBrown, E::Dot, M::Smile, Mint, Navy), Glasses::Square, FrameBlack),
        /* 4 */ withEarrings(face(A::Adult, S7, H::Long, Black, E::Lashes, M::Open, Lavender, Orange)),
        /* 5 */ freckled(face(A::Child, S1, H::Bob, Ginger, E::Dot, M::Grin, Lemon, Green)),
        /* 6 */
        withBeard(withGlasses(face(A::Senior, S3, H::Receding, White, E::Happy, M::Smile, Peach, Teal), Glasses::Round,
                      FrameBrown),
            Beard::Moustache),
        /* 7 */ face(A::Child, S8, H::Afro, Black, E::Dot, M::Open, Aqua, Orange),
        /* 8 */ withEarrings(face(A::Adult, S4, H::Ponytail, Chestnut, E::Lashes, M::Smile, Coral, Blue)),
        /* 9 */ withHat(face(A::Teen, S5, H::Short, Black, E::Dot, M::Grin, Lime, Slate), Hat::Cap, Red),
        /* 10 */ withHat(face(A::Child, S3, H::Long, Blond, E::Dot, M::Open, Periwinkle, Rose), Hat::Headband, Rose),
        /* 11 */ withBeard(face(A::Adult, S6, H::Buzz, Black, E::Dot, M::Smile, Sky, Green), Beard::Full),
        /* 12 */
        withEarrings(
            withGlasses(face(A::Senior, S2, H::Bun, Grey, E::Happy, M::Smile, Pink, Purple), Glasses::Round, Red)),
        /* 13 */ withHat(face(A::Child, S4, H::Curly, Brown, E::Dot, M::Smile, Mint, Yellow), Hat::Beanie, Blue),
        /* 14 */ face(A::Adult, S2, H::Wavy, Auburn, E::Lashes, M::Open, Aqua, Green),
        /* 15 */ withEarrings(face(A::Teen, S7, H::Braids, Black, E::Lashes, M::Smile, Lemon, Purple)),
        /* 16 */
        withGlasses(face(A::Adult, S1, H::Short, Blond, E::Dot, M::Grin, Lavender, Red), Glasses::Square, Blue),
        /* 17 */ face(A::Child, S6, H::Short, Black, E::Happy, M::Open, Peach, Cyan),
        /* 18 */ face(A::Adult, S5, H::Bald, Black, E::Dot, M::Grin, Lime, Terracotta),
        /* 19 */
        withGlasses(withBeard(face(A::Senior, S6, H::Receding, Grey, E::Dot, M::Smile, Periwinkle, Navy), Beard::Full),
            Glasses::Round, FrameBlack),
        /* 20 */ freckled(face(A::Child, S2, H::Pigtails, Blond, E::Dot, M::Open, Sky, Rose)),
        /* 21 */ withEarrings(face(A::Adult, S8, H::Afro, Black, E::Lashes, M::Grin, Coral, Yellow)),
        /* 22 */ face(A::Teen, S3, H::Swoop, Brown, E::Dot, M::Smile, Mint, Blue),
        /* 23 */ withHat(face(A::Child, S5, H::Bun, Black, E::Dot, M::Grin, Lavender, Orange), Hat::Bow, Red),
        /* 24 */ withBeard(face(A::Adult, S4, H::SidePart, Black, E::Dot, M::Smile, Lemon, Terracotta), Beard::Goatee),
        /* 25 */
        withEarrings(
            withGlasses(face(A::Senior, S1, H::Bob, Silver, E::Happy, M::Smile, Aqua, Rose), Glasses::Square, Purple)),
        /* 26 */ withHat(face(A::Child, S7, H::Curly, Black, E::Dot, M::Open, Pink, Green), Hat::SunHat, Yellow),
        /* 27 */ withHat(face(A::Adult, S2, H::Ponytail, Blond, E::Lashes, M::Grin, Periwinkle, Slate), Hat::Cap, Blue),
        /* 28 */
        freckled(withGlasses(face(A::Child, S3, H::Short, Ginger, E::Dot, M::Grin, Lime, Blue), Glasses::Round, Green)),
        /* 29 */
        withEarrings(withHat(face(A::Adult, S6, H::Long, DarkBrown, E::Lashes, M::Smile, Sky, Navy), Hat::Beret, Red)),
        /* 30 */ face(A::Teen, S4, H::Spiky, Black, E::Dot, M::Open, Coral, Green),
        /* 31 */
        withGlasses(
            withBeard(face(A::Senior, S7, H::Buzz, White, E::Dot, M::Smile, Mint, Terracotta), Beard::Moustache),
            Glasses::Square, Gold),
        /* 32 */ withHat(face(A::Child, S8, H::Braids, Black, E::Dot, M::Smile, Lemon, Purple), Hat::Headband, Yellow),
        /* 33 */ withBeard(face(A::Adult, S3, H::Curly, Auburn, E::Dot, M::Grin, Lavender, Green), Beard::Full),
        /* 34 */ withHat(face(A::Child, S1, H::Long, LightBlond, E::Happy, M::Open, Aqua, Red), Hat::Beanie, Rose),
        /* 35 */
        withEarrings(
            withGlasses(face(A::Adult, S5, H::Bob, Black, E::Lashes, M::Smile, Pink, Cyan), Glasses::Round, Red)),
        /* 36 */ face(A::Child, S4, H::Swoop, Chestnut, E::Dot, M::Open, Sky, Orange),
        /* 37 */ withHat(face(A::Adult, S5, H::Long, Black, E::Lashes, M::Smile, Lime, Teal), Hat::Scarf, Teal),
        /* 38 */ withHat(face(A::Teen, S6, H::Curly, Brown, E::Dot, M::Smile, Periwinkle, Yellow), Hat::Beanie, Green),
        /* 39 */
        withGlasses(face(A::Adult, S8, H::Buzz, Black, E::Dot, M::Grin, Peach, Red), Glasses::Square, FrameBlack),
        /* 40 */ freckled(withHat(face(A::Child, S2, H::Wavy, Brown, E::Dot, M::Grin, Mint, Teal), Hat::SunHat, Rose)),
    };
}

}
