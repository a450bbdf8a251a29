#pragma once

// The pages the loopback number sites serve: listing pages of both platforms with and without
// pagination links, and message pages with codes, times, an entity and an inline tag. UTF-8,
// as the real sites send them.

#include <string>

namespace smsdock::e2e {

// Page 1 of the domestic platform: numbers 12345678901, 16712345678 twice (a site may list a
// number twice), and pagination links 1, 2, 3, 57.
inline const std::string kDomesticPage1 = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>免费接码 - 国内号码</title></head><body>
<div class="layui-row layui-col-space15">
  <div class="layui-col-md3"><a href="/message/12345678901.html"><div class="layui-card">
    <p class="layuiadmin-big-font card-phone" id="12345678901">123 4567 8901</p>
    <p class="card-country">中国 · 移动</p></div></a></div>
  <div class="layui-col-md3"><a href="/message/16712345678.html"><div class="layui-card">
    <p class="layuiadmin-big-font card-phone" id="16712345678">167 1234 5678</p>
    <p class="card-country">中国 · 联通</p></div></a></div>
  <div class="layui-col-md3"><a href="/message/16712345678.html"><div class="layui-card">
    <p class="layuiadmin-big-font card-phone" id="16712345678">167 1234 5678</p>
    <p class="card-country">中国 · 联通</p></div></a></div>
</div>
<ul class="pagination"><li class="active"><a href="/dl/1.html">1</a></li><li><a href="/dl/2.html">2</a></li><li><a href="/dl/3.html">3</a></li><li class="disabled"><span>&hellip;</span></li><li><a href="/dl/57.html">57</a></li></ul>
</body></html>
)";

// Page 1 of the foreign platform: "+1" with " 5550100" and with "5550100"; no pagination.
inline const std::string kForeignPage1 = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>免费接码 - 国外号码</title></head><body>
<div class="number-list">
  <a class="number" href="/message/5550100.html"><span class="country-bh">+1</span> 5550100</a>
  <a class="number" href="/message/15550100.html"><span class="country-bh">+1</span>5550100</a>
</div>
</body></html>
)";

// A foreign listing page with one number and the given pagination list items.
inline std::string ForeignPageWithLinks(const std::string& links) {
    return R"(<html><body><a href="/message/447700900123.html"><span class="country-bh">+44</span> 7700900123</a>
<ul class="pagination">)" +
           links + "</ul></body></html>";
}

// Page 3 of the foreign platform on the secondary site; its pagination must not matter.
inline const std::string kForeignPage3 = ForeignPageWithLinks(
    R"(<li><a href="/gw/1.html">1</a></li><li><a href="/gw/9.html">9</a></li>)");

inline const std::string kMessages12345678901 = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"></head><body>
<table class="layui-table"><thead><tr><th>短信内容</th><th>时间</th></tr></thead><tbody>
<tr>
  <td style="">【示例网】您的验证码是 482913，5分钟内有效。</td>
  <td style="text-align: center">2024-05-01 10:00:00</td>
</tr>
<tr>
  <td style="">Tom &amp; Jerry: code <b>7731</b></td>
  <td style="text-align: center">3分钟前</td>
</tr>
<tr><td style="">Your code is 5566</td>
	<td style="text-align: center">1小时前</td></tr>
</tbody></table></body></html>
)";

inline const std::string kMessages5550100 = R"(<table><tr>
  <td style="">G-204481 is your verification code.</td>
  <td style="text-align: center">刚刚</td>
</tr></table>
)";

// Cells that do not make up a message: no centred time cell after the content cell.
inline const std::string kNoMessages =
    R"(<table><tr><td style="">暂无短信</td><td>-</td></tr></table>
)";

}  // namespace smsdock::e2e
