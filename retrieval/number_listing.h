#pragma once

// Filling the number list 超级列表框1 and the page selector 组合框1 from a listing page of the
// number sites. Each routine fetches its page synchronously on the calling thread.

namespace smsdock {

// 按钮1: lists the page chosen in the selector for the platform whose radio button is checked.
void FetchSelectedPage();
void FetchDomesticPage();
void FetchForeignPage();

// 单选框1 / 单选框2: lists page 1 of the platform and rebuilds the page selector.
void SwitchToDomestic();
void SwitchToForeign();

// The start-up worker's listing of page 1 of the domestic platform: fills the list and adds the
// pages to the selector, but clears no selector, writes no status and shows no window.
void LoadFirstDomesticPage();

}  // namespace smsdock
