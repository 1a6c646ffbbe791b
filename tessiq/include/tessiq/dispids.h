// dispids.h - member numbers of the DSP control's dispatch interface (ProgID
// "TessiqLib.Tessiq"). Hosts call every method by these numbers; the control declares its
// members with the same constants. Numbers not listed here belong to no member.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tessiq::dispid {

constexpr int32_t About               = 1610809344;
constexpr int32_t a_InterpolationFx1  = 1610809345;
constexpr int32_t a_InterpolationFx2  = 1610809346;
constexpr int32_t a_InterpolationFxy1 = 1610809347;
constexpr int32_t a_InterpolationFxy2 = 1610809348;
constexpr int32_t a_DyFx1             = 1610809349;
constexpr int32_t a_DDyFx1            = 1610809350;
constexpr int32_t a_DyFx2             = 1610809351;
constexpr int32_t a_DDyFx2            = 1610809352;
constexpr int32_t a_IntegrationFx1    = 1610809353;
constexpr int32_t a_IntegrationVector = 1610809354;
constexpr int32_t a_IntegrationFx2    = 1610809355;
constexpr int32_t a_EquationSol       = 1610809356;
constexpr int32_t a_EquationRoots     = 1610809357;
constexpr int32_t a_MatDet            = 1610809358;
constexpr int32_t a_MatTrans          = 1610809359;
constexpr int32_t a_MatInv            = 1610809360;
constexpr int32_t a_MatMul            = 1610809361;
constexpr int32_t a_MatEigenVV        = 1610809362;
constexpr int32_t a_MatEigenValue     = 1610809363;
constexpr int32_t a_SFnpdf            = 1610809364;
constexpr int32_t a_SFchi2pdf         = 1610809365;
constexpr int32_t a_SFtpdf            = 1610809366;
constexpr int32_t a_SFfpdf            = 1610809367;
constexpr int32_t a_SFsinSum          = 1610809368;
constexpr int32_t a_SFcosSum          = 1610809369;
constexpr int32_t a_SFexpSum          = 1610809370;
constexpr int32_t a_SFellipseSum1     = 1610809371;
constexpr int32_t a_SFellipseSum2     = 1610809372;
constexpr int32_t a_SFerror           = 1610809373;
constexpr int32_t a_SFbessel          = 1610809374;
constexpr int32_t a_CurveFittingLS    = 1610809375;
constexpr int32_t a_CurveFittingCB    = 1610809376;
constexpr int32_t b_Mean              = 1610809377;
constexpr int32_t b_Variance          = 1610809378;
constexpr int32_t b_Std               = 1610809379;
constexpr int32_t b_Min               = 1610809380;
constexpr int32_t b_Max               = 1610809381;
constexpr int32_t b_Median            = 1610809382;
constexpr int32_t b_Mode              = 1610809383;
constexpr int32_t b_Skew              = 1610809384;
constexpr int32_t b_Kurt              = 1610809385;
constexpr int32_t b_CorCoef           = 1610809386;
constexpr int32_t b_RegressLine       = 1610809387;
constexpr int32_t b_RegressMV         = 1610809388;
constexpr int32_t b_TestMean          = 1610809389;
constexpr int32_t b_TestVar           = 1610809390;
constexpr int32_t b_TestDistribute    = 1610809391;
constexpr int32_t b_Smooth            = 1610809392;
constexpr int32_t b_SmoothSG          = 1610809393;
constexpr int32_t b_OddPoints         = 1610809394;
constexpr int32_t b_ZeroCross         = 1610809395;
constexpr int32_t c_SortStrings       = 1610809396;
constexpr int32_t c_SortBytes         = 1610809398;
constexpr int32_t c_SortIntegers      = 1610809399;
constexpr int32_t c_SortLongs         = 1610809400;
constexpr int32_t c_SortSingles       = 1610809401;
constexpr int32_t c_SortDoubles       = 1610809402;
constexpr int32_t c_HufCompress       = 1610809403;
constexpr int32_t c_HufExpand         = 1610809404;
constexpr int32_t c_Program           = 1610809405;
constexpr int32_t c_FindFileString    = 1610809406;
constexpr int32_t c_ReadMDT           = 1610809407;
constexpr int32_t c_ReadMDTInfo       = 1610809408;
constexpr int32_t c_WriteMDT          = 1610809409;
constexpr int32_t c_WriteTXT          = 1610809410;
constexpr int32_t c_ReadTXT           = 1610809411;
constexpr int32_t c_ReadTXTInfo       = 1610809412;
constexpr int32_t c_InportX           = 1610809415;
constexpr int32_t c_OutportX          = 1610809416;
constexpr int32_t d_AutoCor           = 1610809417;
constexpr int32_t d_Convolution       = 1610809418;
constexpr int32_t d_CrossCorrelation  = 1610809419;
constexpr int32_t d_FIRdesign         = 1610809420;
constexpr int32_t d_IIRdesign         = 1610809421;
constexpr int32_t d_LiFiltering       = 1610809422;
constexpr int32_t d_RLSFiltering      = 1610809423;
constexpr int32_t d_LMSFiltering      = 1610809424;
constexpr int32_t d_stDFT             = 1610809425;
constexpr int32_t d_stFFT             = 1610809426;
constexpr int32_t d_stDCT             = 1610809427;
constexpr int32_t d_stDST             = 1610809428;
constexpr int32_t d_stDWalshT         = 1610809429;
constexpr int32_t d_stDWaveletT       = 1610809430;
constexpr int32_t d_stDHaarT          = 1610809431;
constexpr int32_t d_stDczT            = 1610809432;
constexpr int32_t d_stDFT2D           = 1610809433;
constexpr int32_t d_stDWaveletT2D     = 1610809434;
constexpr int32_t d_psdPeriod         = 1610809435;
constexpr int32_t d_psdBT             = 1610809436;
constexpr int32_t d_psdCZT            = 1610809437;
constexpr int32_t d_psdAR             = 1610809438;
constexpr int32_t d_ARCoef            = 1610809439;
constexpr int32_t d_AResponse         = 1610809440;
constexpr int32_t d_PResponse         = 1610809441;
constexpr int32_t d_Response          = 1610809442;
constexpr int32_t d_psdArray          = 1610809443;
constexpr int32_t d_Normalize         = 1610809444;
constexpr int32_t d_ZeroMean          = 1610809445;
constexpr int32_t d_MedianFilter      = 1610809446;
constexpr int32_t d_SignalUpDown      = 1610809447;
constexpr int32_t d_SignalLeftRight   = 1610809448;
constexpr int32_t d_PeakFreq          = 1610809449;
constexpr int32_t d_MeanFreq          = 1610809450;
constexpr int32_t d_MedianFreq        = 1610809451;
constexpr int32_t e_Uniform           = 1610809452;
constexpr int32_t e_RandSeed          = 1610809453;
constexpr int32_t e_Normal            = 1610809454;
constexpr int32_t e_Triangle          = 1610809455;
constexpr int32_t e_Exponent          = 1610809456;
constexpr int32_t e_ARSeries          = 1610809457;
constexpr int32_t e_MASeries          = 1610809458;
constexpr int32_t e_ARMASeries        = 1610809459;
constexpr int32_t f_ECGRwaveInit      = 1610809460;
constexpr int32_t f_ECGHR             = 1610809462;

// Every method with its number, in interface order (for hosts that list or look up members).
struct Entry {
  std::string_view name;
  int32_t id;
};

inline constexpr std::array<Entry, 115> kAll{{
    {"About", About},
    {"a_InterpolationFx1", a_InterpolationFx1},
    {"a_InterpolationFx2", a_InterpolationFx2},
    {"a_InterpolationFxy1", a_InterpolationFxy1},
    {"a_InterpolationFxy2", a_InterpolationFxy2},
    {"a_DyFx1", a_DyFx1},
    {"a_DDyFx1", a_DDyFx1},
    {"a_DyFx2", a_DyFx2},
    {"a_DDyFx2", a_DDyFx2},
    {"a_IntegrationFx1", a_IntegrationFx1},
    {"a_IntegrationVector", a_IntegrationVector},
    {"a_IntegrationFx2", a_IntegrationFx2},
    {"a_EquationSol", a_EquationSol},
    {"a_EquationRoots", a_EquationRoots},
    {"a_MatDet", a_MatDet},
    {"a_MatTrans", a_MatTrans},
    {"a_MatInv", a_MatInv},
    {"a_MatMul", a_MatMul},
    {"a_MatEigenVV", a_MatEigenVV},
    {"a_MatEigenValue", a_MatEigenValue},
    {"a_SFnpdf", a_SFnpdf},
    {"a_SFchi2pdf", a_SFchi2pdf},
    {"a_SFtpdf", a_SFtpdf},
    {"a_SFfpdf", a_SFfpdf},
    {"a_SFsinSum", a_SFsinSum},
    {"a_SFcosSum", a_SFcosSum},
    {"a_SFexpSum", a_SFexpSum},
    {"a_SFellipseSum1", a_SFellipseSum1},
    {"a_SFellipseSum2", a_SFellipseSum2},
    {"a_SFerror", a_SFerror},
    {"a_SFbessel", a_SFbessel},
    {"a_CurveFittingLS", a_CurveFittingLS},
    {"a_CurveFittingCB", a_CurveFittingCB},
    {"b_Mean", b_Mean},
    {"b_Variance", b_Variance},
    {"b_Std", b_Std},
    {"b_Min", b_Min},
    {"b_Max", b_Max},
    {"b_Median", b_Median},
    {"b_Mode", b_Mode},
    {"b_Skew", b_Skew},
    {"b_Kurt", b_Kurt},
    {"b_CorCoef", b_CorCoef},
    {"b_RegressLine", b_RegressLine},
    {"b_RegressMV", b_RegressMV},
    {"b_TestMean", b_TestMean},
    {"b_TestVar", b_TestVar},
    {"b_TestDistribute", b_TestDistribute},
    {"b_Smooth", b_Smooth},
    {"b_SmoothSG", b_SmoothSG},
    {"b_OddPoints", b_OddPoints},
    {"b_ZeroCross", b_ZeroCross},
    {"c_SortStrings", c_SortStrings},
    {"c_SortBytes", c_SortBytes},
    {"c_SortIntegers", c_SortIntegers},
    {"c_SortLongs", c_SortLongs},
    {"c_SortSingles", c_SortSingles},
    {"c_SortDoubles", c_SortDoubles},
    {"c_HufCompress", c_HufCompress},
    {"c_HufExpand", c_HufExpand},
    {"c_Program", c_Program},
    {"c_FindFileString", c_FindFileString},
    {"c_ReadMDT", c_ReadMDT},
    {"c_ReadMDTInfo", c_ReadMDTInfo},
    {"c_WriteMDT", c_WriteMDT},
    {"c_WriteTXT", c_WriteTXT},
    {"c_ReadTXT", c_ReadTXT},
    {"c_ReadTXTInfo", c_ReadTXTInfo},
    {"c_InportX", c_InportX},
    {"c_OutportX", c_OutportX},
    {"d_AutoCor", d_AutoCor},
    {"d_Convolution", d_Convolution},
    {"d_CrossCorrelation", d_CrossCorrelation},
    {"d_FIRdesign", d_FIRdesign},
    {"d_IIRdesign", d_IIRdesign},
    {"d_LiFiltering", d_LiFiltering},
    {"d_RLSFiltering", d_RLSFiltering},
    {"d_LMSFiltering", d_LMSFiltering},
    {"d_stDFT", d_stDFT},
    {"d_stFFT", d_stFFT},
    {"d_stDCT", d_stDCT},
    {"d_stDST", d_stDST},
    {"d_stDWalshT", d_stDWalshT},
    {"d_stDWaveletT", d_stDWaveletT},
    {"d_stDHaarT", d_stDHaarT},
    {"d_stDczT", d_stDczT},
    {"d_stDFT2D", d_stDFT2D},
    {"d_stDWaveletT2D", d_stDWaveletT2D},
    {"d_psdPeriod", d_psdPeriod},
    {"d_psdBT", d_psdBT},
    {"d_psdCZT", d_psdCZT},
    {"d_psdAR", d_psdAR},
    {"d_ARCoef", d_ARCoef},
    {"d_AResponse", d_AResponse},
    {"d_PResponse", d_PResponse},
    {"d_Response", d_Response},
    {"d_psdArray", d_psdArray},
    {"d_Normalize", d_Normalize},
    {"d_ZeroMean", d_ZeroMean},
    {"d_MedianFilter", d_MedianFilter},
    {"d_SignalUpDown", d_SignalUpDown},
    {"d_SignalLeftRight", d_SignalLeftRight},
    {"d_PeakFreq", d_PeakFreq},
    {"d_MeanFreq", d_MeanFreq},
    {"d_MedianFreq", d_MedianFreq},
    {"e_Uniform", e_Uniform},
    {"e_RandSeed", e_RandSeed},
    {"e_Normal", e_Normal},
    {"e_Triangle", e_Triangle},
    {"e_Exponent", e_Exponent},
    {"e_ARSeries", e_ARSeries},
    {"e_MASeries", e_MASeries},
    {"e_ARMASeries", e_ARMASeries},
    {"f_ECGRwaveInit", f_ECGRwaveInit},
    {"f_ECGHR", f_ECGHR},
}};

}  // namespace tessiq::dispid
