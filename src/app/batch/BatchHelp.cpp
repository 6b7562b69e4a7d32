#include "app/batch/BatchHelp.h"

#include <vector>

#include "jobs/JobActions.h"
#include "jobs/JobCatalog.h"

namespace zelk {
namespace {

// Follows kBatchUsage.
constexpr const char* kHelpBeforeActions =
    "\n"
    "      zelk-batch --help | --version\n"
    "\n"
    "不开窗口执行一次转换：按配置文件中保存的功能，把源目录中尚未转换的图像目录或\n"
    "图像文件转换到输出目录。给出的配置文件须名为 ZELK.conf，结果清单写入其旁的\n"
    "Logs 目录。不给配置文件时使用与窗口程序相同的设置和结果清单：程序旁有\n"
    "ZELK.conf（复制到单独目录中的程序）时即用它，结果清单写入程序旁的 Logs；\n"
    "安装的程序（如 /usr/bin/zelk-batch）则用 ~/.config/zelk/ZELK.conf（首次使用时\n"
    "由 /usr/share/zelk/ZELK.conf 复制而来，遵从 XDG_CONFIG_HOME），结果清单写入\n"
    "~/.local/share/zelk/Logs（遵从 XDG_DATA_HOME）。\n"
    "\n"
    "选项：\n"
    "  --settle SECONDS   最近 SECONDS 秒内有改动的目录和文件留待下次运行\n"
    "                     （扫描仪可能仍在写入）；默认 0\n"
    "  --shard I/N        只转换 N 个分片中的第 I 个（I 从 0 数起）：多台机器上的\n"
    "                     多个进程分担同一源目录；项目按其相对源目录的路径稳定地\n"
    "                     分到各分片，源目录增加项目不会改变已有项目的分片\n"
    "  --shards N         分片数，与 Kubernetes 索引作业的 JOB_COMPLETION_INDEX\n"
    "                     一起使用\n"
    "  --no-shard         不分片，转换全部项目（不理会下列分片环境变量）\n"
    "  --summary          不转换，汇总当天各分片的运行（见下文“分片运行”）\n"
    "  --date YYYY-MM-DD  与 --summary 一起使用：汇总该日而非今天的记录\n"
    "  -h, --help         显示本说明后退出\n"
    "  --version          显示版本后退出\n"
    "\n"
    "读取的设置（ZELK.conf）：\n"
    "  [Common] ImageSrcDir     源目录\n"
    "  [Common] ConvertDstDir   输出目录（批量更名可为空：在源目录中就地更名）\n";

constexpr const char* kHelpAfterSections =
    "\n"
    "分片运行：\n"
    "  分片的运行把结果清单写入自己的文件，如 2026年03月07日-成功.shard-03-of-16.txt\n"
    "  （失败清单、失败原因清单同样），不写当天的共用清单；并在\n"
    "  2026年03月07日-汇总.shard-03-of-16.txt 中为每次运行记下一行开始和一行结束\n"
    "  （结果、成功与失败项数、页数、时间、主机、作业），被中断的运行只有开始行。\n"
    "  多台机器可共用一个 Logs 目录：每个分片只写自己的文件。不分片的运行照旧写\n"
    "  当天的共用清单。\n"
    "  正在转换的项目旁有一个认领文件，其他进程跳过该项目；进程每分钟刷新一次认领。\n"
    "  另一台主机上的认领超过 10 分钟未刷新（该进程已被终止或主机失去共享文件\n"
    "  系统），视为无主，由下一个进程接手。\n"
    "  --summary 读取上述 Logs 目录中当天各分片的记录，每个分片一行，另有\n"
    "  合计行：成功与失败项数、页数、用时合计（各次运行用时之和）和历时（最早\n"
    "  开始至最晚结束）。某分片最后一次运行没有结束行（被中断或仍在运行）、提前\n"
    "  停止、未能准备，或该分片根本没有记录，都列为未完成。\n"
    "\n"
    "环境变量：\n"
    "  OMP_THREAD_LIMIT   OpenMP 线程上限；未设置时程序设为 1 并重新启动自身\n"
    "  TESSDATA_PREFIX    文字识别语言数据（chi_sim、eng）所在目录，\n"
    "                     在程序目录下的 tessdata 之后、系统目录之前查找\n"
    "  ZELK_BIN_DIR       程序旁（安装时为 <prefix>/libexec/zelk）没有\n"
    "                     zelk-xls-reader 时到此目录查找（读取 .xls 分件数据文件）\n"
    "  SLURM_ARRAY_TASK_ID 未给出 --shard 时的分片序号（Slurm 作业数组），分片数取\n"
    "                     SLURM_ARRAY_TASK_COUNT，或 SLURM_ARRAY_TASK_MAX 与\n"
    "                     SLURM_ARRAY_TASK_MIN 之差加 1；序号从 SLURM_ARRAY_TASK_MIN 数起\n"
    "  JOB_COMPLETION_INDEX 未给出 --shard 时的分片序号（Kubernetes 索引作业），\n"
    "                     须同时给出 --shards N\n"
    "  SLURM_ARRAY_JOB_ID、SLURM_JOB_ID  记入分片记录的作业号\n"
    "  SLURM_CPUS_PER_TASK 可用的处理器核数（Slurm 的 --cpus-per-task），文字识别\n"
    "                     和图像读取的线程数按此确定；未设置时取进程 CPU 亲和掩码\n"
    "                     中的核数（taskset、cpuset），再取本机核数\n"
    "\n"
    "信号：SIGINT、SIGTERM、SIGHUP 或 SIGQUIT 使转换在当前项目完成后停止\n"
    "（文字识别则中止正在识别的项目，该项目留待下次），写好结果清单的汇总行；\n"
    "再收到一个信号（或转换尚未开始时收到信号）则立即以该信号结束。输出都先写入\n"
    "临时文件，中途结束不会留下不完整的输出，下次运行会清除临时文件并接着转换\n"
    "余下的项目。\n"
    "\n"
    "退出状态：\n"
    "  0  全部完成，或未找到需转换的项目\n"
    "  1  有项目转换失败（见当天的失败清单、失败原因清单和输出目录下的 Error 目录）\n"
    "  2  未能开始：参数或配置文件有误、目录检查未通过或功能无法准备\n"
    "  3  因信号或取消请求提前停止，余下的项目留待下次运行\n"
    "  --summary 时：0 各分片都已完成且没有失败项目；1 有失败项目、有分片未完成\n"
    "  或当天没有分片记录；2 参数有误或找不到配置文件\n";

// "[Common] ConvertAction   功能：1 单页合并，2 多页拆分，..." with three
// actions a line.
std::string ActionLines() {
  std::string text = "  [Common] ConvertAction   功能：";
  for (std::size_t i = 0; i < kActionCount; ++i) {
    if (i > 0) text += i % 3 == 0 ? "，\n                           " : "，";
    text += std::to_string(kJobActions[i].Number);
    text += ' ';
    text += kJobActions[i].Caption;
  }
  text += '\n';
  return text;
}

// The sections the actions read, as "[Merge]、... 或 [Rename]".
std::string SectionList() {
  const std::vector<std::string> names = ActionSectionNames();
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " 或 " : "、";
    text += '[';
    text += names[i];
    text += ']';
  }
  return text;
}

}  // namespace

std::string BatchHelp() {
  std::string text = kBatchUsage;
  text += kHelpBeforeActions;
  text += ActionLines();
  text += "  以及所选功能自己的一节：";
  text += SectionList();
  text += "，\n  图像功能另读 [ImageCompress]。\n";
  text += kHelpAfterSections;
  return text;
}

}  // namespace zelk
