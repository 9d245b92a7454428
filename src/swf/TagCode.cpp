#include "swf/TagCode.h"

namespace swf {

TagCode shapeTagCode(int version) {
    switch (version) {
        case 1:
            return TagCode::DefineShape;
        case 2:
            return TagCode::DefineShape2;
        case 4:
            return TagCode::DefineShape4;
        default:
            return TagCode::DefineShape3;
    }
}

int shapeVersion(TagCode code) {
    switch (code) {
        case TagCode::DefineShape:
            return 1;
        case TagCode::DefineShape2:
            return 2;
        case TagCode::DefineShape3:
            return 3;
        case TagCode::DefineShape4:
            return 4;
        default:
            return 0;
    }
}

TagCode placeTagCode(int version) {
    switch (version) {
        case 1:
            return TagCode::PlaceObject;
        case 3:
            return TagCode::PlaceObject3;
        default:
            return TagCode::PlaceObject2;
    }
}

int placeVersion(TagCode code) {
    switch (code) {
        case TagCode::PlaceObject:
            return 1;
        case TagCode::PlaceObject2:
            return 2;
        case TagCode::PlaceObject3:
            return 3;
        default:
            return 0;
    }
}

bool isTimelineTag(TagCode code) {
    switch (code) {
        case TagCode::End:
        case TagCode::ShowFrame:
        case TagCode::PlaceObject:
        case TagCode::RemoveObject:
        case TagCode::DoAction:
        case TagCode::PlaceObject2:
        case TagCode::RemoveObject2:
        case TagCode::FrameLabel:
        case TagCode::PlaceObject3:
            return true;
        default:
            return false;
    }
}

QString tagName(TagCode code) {
    switch (code) {
        case TagCode::End:
            return QStringLiteral("End");
        case TagCode::ShowFrame:
            return QStringLiteral("ShowFrame");
        case TagCode::DefineShape:
            return QStringLiteral("DefineShape");
        case TagCode::PlaceObject:
            return QStringLiteral("PlaceObject");
        case TagCode::RemoveObject:
            return QStringLiteral("RemoveObject");
        case TagCode::SetBackgroundColor:
            return QStringLiteral("SetBackgroundColor");
        case TagCode::DoAction:
            return QStringLiteral("DoAction");
        case TagCode::DefineShape2:
            return QStringLiteral("DefineShape2");
        case TagCode::PlaceObject2:
            return QStringLiteral("PlaceObject2");
        case TagCode::RemoveObject2:
            return QStringLiteral("RemoveObject2");
        case TagCode::DefineShape3:
            return QStringLiteral("DefineShape3");
        case TagCode::DefineSprite:
            return QStringLiteral("DefineSprite");
        case TagCode::FrameLabel:
            return QStringLiteral("FrameLabel");
        case TagCode::FileAttributes:
            return QStringLiteral("FileAttributes");
        case TagCode::PlaceObject3:
            return QStringLiteral("PlaceObject3");
        case TagCode::Metadata:
            return QStringLiteral("Metadata");
        case TagCode::DefineShape4:
            return QStringLiteral("DefineShape4");
        case TagCode::DefineSceneAndFrameLabelData:
            return QStringLiteral("DefineSceneAndFrameLabelData");
    }
    return QStringLiteral("tag %1").arg(std::uint16_t(code));
}

}  // namespace swf
