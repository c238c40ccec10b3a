#include "shell/menu_table.h"

namespace tervalen::shell {

std::span<const MenuEntry> menuTable() {
    using E = MenuEntry;
    static const MenuEntry table[] = {
        {1, "mnuFile", "文件", E::Submenu, nullptr},
        {2, "mnuNewProject", "新建工程", E::Command, nullptr, "Ctrl+N"},
        {2, "mnuOpenProject", "打开工程…", E::Command, nullptr, "Ctrl+O"},
        {2, "mnuSaveProject", "保存工程", E::Command, nullptr, "Ctrl+S"},
        {2, "mnuSaveProjectAs", "工程另存为…", E::Command, nullptr, "Ctrl+Shift+S"},
        // Filled from the settings each time it opens (see MDIFangLei).
        {2, "mnuRecentProjects", "最近打开的工程", E::Submenu, nullptr},
        {2, "mnuFile_DivideProject", "-", E::Separator, nullptr},
        {2, "mnuAddToSheet", "加入计算书", E::Command, nullptr, "Ctrl+D"},
        {2, "mnuSheet", "计算书…", E::Command, nullptr, "Ctrl+B"},
        {2, "mnuFile_Divide", "-", E::Separator, nullptr},
        {2, "mnuExit", "退出", E::Command, nullptr},
        {1, "mnuRx", "保护范围计算", E::Submenu, nullptr},
        {2, "mnuRx_DanZ", "单针保护范围", E::Submenu, nullptr},
        {3, "mnuRx_DLDanZ", "独立单针保护范围", E::Command, "frmRx_DLDanZ"},
        {3, "mnuRx_JSDanZ", "架设单针保护范围", E::Command, "frmRx_JSDanZ"},
        {2, "mnuRx_ShuangZ", "等高双针保护范围", E::Submenu, nullptr},
        {3, "mnuRx_DLShuangZ", "独立等高双针保护范围", E::Command, "frmRx_DLShuangZ"},
        {3, "mnuRx_JSShuangZ", "架设等高双针保护范围", E::Command, "frmRx_JSShuangZ"},
        {2, "mnuRx_DLSanZ", "等高三针保护范围", E::Command, "frmRx_DLSanZ"},
        {2, "mnuRx_DLSiZ", "等高四针保护范围", E::Command, "frmRx_DLSiZ"},
        {2, "mnuRx_Divide", "-", E::Separator, nullptr},
        {2, "mnuRx_DanX", "架空单线保护范围", E::Command, "frmRxBx_DanX"},
        {2, "mnuRx_ShuangX", "架空双线保护范围", E::Command, "frmRxBx_ShuangX"},
        {1, "mnuH", "针高计算", E::Submenu, nullptr},
        {2, "mnuH_DanZ", "单针高度", E::Submenu, nullptr},
        {3, "mnuH_DLDanZ", "独立单针高度", E::Command, "frmH_DLDanZ"},
        {3, "mnuH_JSDanZ", "架设单针高度", E::Command, "frmH_JSDanZ"},
        {2, "mnuH_ShuangZ", "等高双针高度", E::Submenu, nullptr},
        {3, "mnuH_DLShuangZ", "独立等高双针高度", E::Command, "frmH_DLShuangZ"},
        {3, "mnuH_JSShuangZ", "架设等高双针高度", E::Command, "frmH_JSShuangZ"},
        {2, "mnuH_DLSanZ", "等高三针高度", E::Command, "frmH_DLSanZ"},
        {2, "mnuH_DLSiZ", "等高四针高度", E::Command, "frmH_DLSiZ"},
        {2, "mnuH_Divide", "-", E::Separator, nullptr},
        {2, "mnuH_DanX", "架空单线高度", E::Command, "frmH_DanX"},
        {2, "mnuH_ShuangX", "架空双线高度", E::Command, "frmH_ShuangX"},
        {1, "mnuDZ", "人工接地电阻计算", E::Submenu, nullptr},
        {2, "mnuDZ_ChuiZhi", "垂直接地体工频电阻", E::Command, "frmDZ_ChuiZhi"},
        {2, "mnuDZ_ShuiPing", "水平接地体工频电阻", E::Command, "frmDZ_ShuiPing"},
        {2, "mnuDZ_XiTong", "接地系统工频电阻", E::Command, "frmDZ_XT"},
        {2, "mnuDZ_GC", "工频冲击接地电阻互算", E::Command, "frmDZ_GC"},
        {2, "mnuDZ_Divide", "-", E::Separator, nullptr},
        {2, "mnuDZ_TuRang", "土壤电阻率参考值", E::Command, "frmDZ_TuRang"},
        {1, "mnuQT", "其它", E::Submenu, nullptr},
        {2, "mnuQT_LJCS", "年预计雷击次数计算", E::Command, "frmLJCS"},
        {2, "mnuZJXB", "直角三角形斜边计算", E::Command, "frmZJXB"},
        {1, "mnuCK", "窗口", E::Submenu, nullptr},
        {2, "mnuCK_About", "关于...", E::Command, nullptr},
        {2, "mnuCK_Divide", "-", E::Separator, nullptr},
        {2, "mnuCD", "层叠排列窗体", E::Command, nullptr},
        {2, "mnuSP", "水平平铺窗体", E::Command, nullptr},
        {2, "mnuCZ", "垂直平铺窗体", E::Command, nullptr},
        {2, "mnuCK_Divide4", "-", E::Separator, nullptr},
        {2, "mnuYX", "已运行程序", E::Submenu, nullptr},
        {3, "mnuCK_Divide2", "-", E::Separator, nullptr},
        {3, "Recent", "", E::Recent, nullptr},
        {3, "mnuCK_Divide3", "-", E::Separator, nullptr},
    };
    return table;
}

}  // namespace tervalen::shell
