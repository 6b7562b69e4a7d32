#pragma once
// What `zelk-batch --help` prints: the call, the options, the settings and
// environment variables the runner reads and every exit status.  The exit
// statuses are the constants of BatchRunner.h.

namespace zelk {

inline constexpr const char* kBatchUsage =
    "用法：zelk-batch PATH/ZELK.conf [--settle SECONDS] [--shard I/N | --shards N | --no-shard]";

inline constexpr const char* kBatchHelp =
    "用法：zelk-batch PATH/ZELK.conf [--settle SECONDS] [--shard I/N | --shards N | --no-shard]\n"
    "      zelk-batch --help\n"
    "\n"
    "不开窗口执行一次转换：按配置文件中保存的功能，把源目录中尚未转换的图像目录或\n"
    "图像文件转换到输出目录。配置文件须名为 ZELK.conf，其所在目录为程序目录，\n"
    "结果清单写入其中的 Logs 目录。\n"
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
    "  -h, --help         显示本说明后退出\n"
    "\n"
    "读取的设置（ZELK.conf）：\n"
    "  [Common] ImageSrcDir     源目录\n"
    "  [Common] ConvertDstDir   输出目录（批量更名可为空：在源目录中就地更名）\n"
    "  [Common] ConvertAction   功能：1 单页合并，2 多页拆分，3 单层PDF，\n"
    "                           4 双层PDF，5 Word文档，6 批量更名\n"
    "  以及所选功能自己的一节：[Merge]、[Split]、[PDF]、[2PDF]、[OCR] 或 [Rename]，\n"
    "  图像功能另读 [ImageCompress]。\n"
    "\n"
    "环境变量：\n"
    "  OMP_THREAD_LIMIT   OpenMP 线程上限；未设置时程序设为 1 并重新启动自身\n"
    "  TESSDATA_PREFIX    文字识别语言数据（chi_sim、eng）所在目录，\n"
    "                     在程序目录下的 tessdata 之后、系统目录之前查找\n"
    "  ZELK_BIN_DIR       程序旁没有 zelk-xls-reader 时到此目录查找\n"
    "                     （读取 .xls 分件数据文件）\n"
    "  SLURM_ARRAY_TASK_ID 未给出 --shard 时的分片序号（Slurm 作业数组），分片数取\n"
    "                     SLURM_ARRAY_TASK_COUNT，或 SLURM_ARRAY_TASK_MAX 与\n"
    "                     SLURM_ARRAY_TASK_MIN 之差加 1；序号从 SLURM_ARRAY_TASK_MIN 数起\n"
    "  JOB_COMPLETION_INDEX 未给出 --shard 时的分片序号（Kubernetes 索引作业），\n"
    "                     须同时给出 --shards N\n"
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
    "  3  因信号或取消请求提前停止，余下的项目留待下次运行\n";

}  // namespace zelk
