#pragma once

namespace cotalys {

// Settings of the zone analysis; distances are in units of the average true range (ATR).
struct TSRParams {
    int PivotWindow = 5;        // bars on each side a daily swing low/high must dominate
    int WeeklyPivotWindow = 2;  // weeks on each side a weekly swing low/high must dominate
    int AtrPeriod = 14;
    double ClusterAtr = 0.6;   // how far above a cluster's mean a pivot may still join it
    double MinWidthAtr = 0.5;  // minimum zone height
    int MinTouches = 2;        // spaced touches a zone needs to exist
    int MinBarsBetween = 8;    // bars between two counted touches
    int MaxZonesPerSide = 3;
    int VolumePeriod = 20;  // sessions in the volume average that confirms a pivot

    static TSRParams Default() { return TSRParams{}; }
    // Throws EIndicatorError "Parametres supports/resistances invalides" on any broken rule.
    void Validate() const;
};

}  // namespace cotalys
