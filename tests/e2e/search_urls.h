// The request URL of each service around a query, written out here from the services' own
// formats: a changed host, path or literal in the program must fail the tests.
#pragma once

#include <string>

#include "main_window_ids.h"

namespace ulmora::e2e {

struct Service {
  const char* name;
  int radio;  // the control that chooses it
  std::string (*url)(const std::string& query);
};
inline void PrintTo(const Service& service, std::ostream* out) { *out << service.name; }

inline const Service kServices[] = {
    {"Baidu", kRadioBaidu,
     [](const std::string& q) { return "http://www.baidu.com/baidu?word=" + q; }},
    {"Google", kRadioGoogle,
     [](const std::string& q) {
       return "https://www.google.com.hk/#q=" + q + "&fp=1&bav=on.2,or.r_gc.r_pw.&cad=b";
     }},
    {"Bing", kRadioBing,
     [](const std::string& q) {
       return "http://cn.bing.com/search?q=" + q + "&qs=n&form=QBLH&pq=" + q + "&sc=0-0&sp=-1&sk=";
     }},
    {"Taobao", kRadioTaobao,
     [](const std::string& q) { return "http://s.taobao.com/search?q=" + q + "&commend=all"; }},
    {"Wanwang", kRadioWanwang,
     [](const std::string& q) {
       return "http://pandavip.www.net.cn/cgi-bin/Check.cgi?queryType=0&domain=" + q +
              "&domain=" + q +
              "&big5=n&sign=2&url=www.net.cn&com=yes&cn=yes&net=yes&org=yes&image.x=26&image.y=6";
     }},
};

inline const Service& ServiceChosenBy(int radio) {
  for (const Service& s : kServices) {
    if (s.radio == radio) return s;
  }
  return kServices[0];
}

}  // namespace ulmora::e2e
