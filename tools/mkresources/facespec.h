#pragma once

#include <QRgb>

namespace mkres {

// What sets one student's face apart from the others.
enum class Age { Child, Teen, Adult, Senior };
enum class Hair {
    Bald,
    Buzz,
    Short,
    SidePart,
    Swoop,
    Spiky,
    Curly,
    Afro,
    Long,
    Wavy,
    Bob,
    Ponytail,
    Pigtails,
    Bun,
    Braids,
    Receding
};
enum class Eyes { Dot, Happy, Lashes };
enum class Mouth { Smile, Open, Grin, Small };
enum class Glasses { None, Round, Square };
enum class Hat { None, Beanie, Cap, SunHat, Bow, Headband, Scarf, Beret };
enum class Beard { None, Moustache, Full, Goatee };

struct FaceSpec
{
    Age age;
    QRgb skin;
    Hair hair;
    QRgb hairColour;
    Eyes eyes;
    Mouth mouth;
    Glasses glasses = Glasses::None;
    QRgb glassesColour = 0;
    Hat hat = Hat::None;
    QRgb hatColour = 0;
    Beard beard = Beard::None;
    bool freckles = false;
    bool earrings = false;
    QRgb background = 0;
    QRgb shirt = 0;
};

}
