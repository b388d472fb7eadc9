#include "search/search_services.h"

#include "ui/main_window.h"

namespace ulmora {

// Host names, kept as macros so that the first piece of each row is one literal.
#define ULMORA_BAIDU_HOST "www.baidu.com"          // Baidu web search
#define ULMORA_GOOGLE_HOST "www.google.com.hk"     // Google web search, Hong Kong site
#define ULMORA_BING_HOST "cn.bing.com"             // Bing web search, China site
#define ULMORA_TAOBAO_HOST "s.taobao.com"          // Taobao product search
#define ULMORA_WANWANG_HOST "pandavip.www.net.cn"  // Wanwang domain-name availability check
#define ULMORA_REGISTRAR_HOST "www.net.cn"         // the registrar's own main web site

const char* const RegistrarHost = ULMORA_REGISTRAR_HOST;

namespace {
constexpr UrlPiece Lit(const char* text) { return {PieceKind::Literal, text}; }
constexpr UrlPiece kQuery = {PieceKind::Query, nullptr};
}  // namespace

const SearchService SearchServices[kSearchServiceCount] = {
    {kRadioBaidu, "单选框1", "百度", ULMORA_BAIDU_HOST, 2,
     {Lit("http://" ULMORA_BAIDU_HOST "/baidu?word="), kQuery}},
    {kRadioGoogle, "单选框2", "谷歌", ULMORA_GOOGLE_HOST, 3,
     {Lit("https://" ULMORA_GOOGLE_HOST "/#q="), kQuery,
      Lit("&fp=1&bav=on.2,or.r_gc.r_pw.&cad=b")}},
    {kRadioBing, "单选框3", "必应", ULMORA_BING_HOST, 5,
     {Lit("http://" ULMORA_BING_HOST "/search?q="), kQuery, Lit("&qs=n&form=QBLH&pq="), kQuery,
      Lit("&sc=0-0&sp=-1&sk=")}},
    {kRadioTaobao, "单选框4", "淘宝", ULMORA_TAOBAO_HOST, 3,
     {Lit("http://" ULMORA_TAOBAO_HOST "/search?q="), kQuery, Lit("&commend=all")}},
    {kRadioWanwang, "单选框5", "万网", ULMORA_WANWANG_HOST, 5,
     {Lit("http://" ULMORA_WANWANG_HOST "/cgi-bin/Check.cgi?queryType=0&domain="), kQuery,
      Lit("&domain="), kQuery,
      Lit("&big5=n&sign=2&url=" ULMORA_REGISTRAR_HOST
          "&com=yes&cn=yes&net=yes&org=yes&image.x=26&image.y=6")}},
};

Text ComposeSearchUrl(const SearchService& row, QueryReader readQuery, void* context) {
  const std::uint32_t count = row.pieceCount < kMaxUrlPieces ? row.pieceCount : kMaxUrlPieces;
  const char* joined[kMaxUrlPieces] = {};
  Text reads[kMaxUrlPieces] = {};  // in read order
  std::uint32_t readCount = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (row.pieces[i].kind == PieceKind::Query) {
      reads[readCount] = readQuery(context);
      joined[i] = reads[readCount++];
    } else {
      joined[i] = row.pieces[i].literal;
    }
  }
  Text url = ConcatText(count, joined);
  for (std::uint32_t i = 0; i < readCount; ++i) ReleaseText(reads[i]);
  return url;
}

}  // namespace ulmora
