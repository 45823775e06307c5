#pragma once

namespace KRML_ReportGen {

// How a chosen picture is drawn into its picture object: as large as fits,
// proportions kept, never enlarged beyond its natural size, centred in the
// object's area (its size less 4 pixels each way). All sizes in twips.
class PictureScaling
{
public:
    struct Fitted
    {
        double width;
        double height;
        double factor; // how much the image was reduced; 1 when it fits
    };
    struct Offset
    {
        double x;
        double y;
    };

    static constexpr double TwipsPerPixel = 15;
    static double himetricToTwips(double himetric) { return himetric * 1440.0 / 2540.0; }
    // The usable area of a picture object of the given size.
    static double areaOf(double size) { return size - 4 * TwipsPerPixel; }

    // A zero area or an image of zero height fails with error 11.
    static Fitted fit(double width, double height, double areaWidth, double areaHeight);
    static Offset centre(double width, double height, double areaWidth, double areaHeight);
};

} // namespace KRML_ReportGen
